// veloxcanmoni: dispatches on the first argument to the program's modes.
//   veloxcanmoni                       the dashboard on the adapter of the settings file
//   veloxcanmoni --simulate [elm327|canusb]
//                                      the dashboard on the in-process simulated car
//                                      (settings in VeloxCanMoni-simulated.INI beside
//                                      the usual file, so the car's own stay untouched)
//   --screenshot FILE [--after MS]     renders the window to a PNG after MS ms and quits
//   veloxcanmoni --decode FILE [--adapter elm327|canusb]
//                                      decoded-value report of a file of adapter text
//   veloxcanmoni --replay FILE [...]   a recorded drive through the live path (ReplayCommand.h)
//   veloxcanmoni --headless [...]      live logging without a window (HeadlessCommand.h)
// The modes without a window live in WindowlessModes, shared with veloxcanmoni-headless.
#include "app/MainForm.h"
#include "app/ProgramPaths.h"
#include "app/ReplayWindow.h"
#include "app/WindowlessModes.h"
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "config/Settings.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
#include "link/sim/SimulatedPort.h"

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

QString argAfter(const QStringList& args, const QString& flag, const QString& fallback = {})
{
    const qsizetype at = args.indexOf(flag);
    if (at < 0)
        return {};
    if (at + 1 < args.size() && !args[at + 1].startsWith(QLatin1String("--")))
        return args[at + 1];
    return fallback;
}

} // namespace

int main(int argc, char** argv)
{
    // Decode, replay, export and headless logging create no window (no QApplication)
    // unless the replay is asked to play into the dashboard (--gui).
    if (auto status = vcm::runWindowlessMode(argc, argv, vcm::runReplayWindow))
        return *status;

    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool simulate = args.contains(QStringLiteral("--simulate"));
    const QString simAdapter = argAfter(args, QStringLiteral("--simulate"), QStringLiteral("elm327"));
    if (simulate && simAdapter != QLatin1String("elm327") && simAdapter != QLatin1String("canusb")) {
        std::fprintf(stderr, "--simulate takes elm327 or canusb\n");
        return 2;
    }

    vcm::SystemClock clock;
    vcm::DiskFileSystem fs;
    vcm::QtEventPump pump;
    const vcm::ProgramPaths paths =
        vcm::programPaths(fs, QCoreApplication::applicationDirPath().toStdString(), simulate);
    if (const std::string problem = vcm::settingsReadProblem(fs, paths.settingsFile); !problem.empty())
        std::fprintf(stderr, "veloxcanmoni: %s\n", problem.c_str());
    vcm::QtPorts ports(vcm::readPortMap(fs, paths.settingsFile), clock);

    // The simulated car stands in for the adapter port; it runs on from a fast timer.
    std::unique_ptr<vcm::sim::SimulatedPort> car;
    QTimer carTimer;
    int carPort = 0;
    if (simulate) {
        std::string error;
        car = vcm::sim::SimulatedPort::create("sim:" + simAdapter.toStdString(), clock, &error);
        if (!car) {
            std::fprintf(stderr, "simulated car: %s\n", error.c_str());
            return 1;
        }
        // The session reads the adapter kind from the settings: make it the car's.
        vcm::MonitorSettings s = vcm::readSettings(fs, paths.settingsFile, paths.defaultSaveFolder);
        s.UseElm327 = simAdapter == QLatin1String("elm327");
        if (s.PortNum < 1)
            s.PortNum = 1;
        vcm::writeSettings(fs, paths.settingsFile, s);
        carPort = s.PortNum;
        QObject::connect(&carTimer, &QTimer::timeout, [&car] { car->pump(); });
        carTimer.start(5);
    }

    const char decimal = QLocale().decimalPoint().at(0).toLatin1();
    std::map<int, std::string> devices;
    for (int n = 1; n <= 20; ++n)
        devices[n] = car && n == carPort ? car->deviceName() : ports.deviceMap().deviceFor(n);
    vcm::MainForm window(vcm::MainFormServices{clock, fs, car ? *car : ports.adapter(), ports.aux(), ports.gps(), pump,
                                               paths.settingsFile, paths.defaultSaveFolder, decimal ? decimal : '.',
                                               QSize(), true, devices});
    window.show();

    const QString shot = argAfter(args, QStringLiteral("--screenshot"));
    if (!shot.isEmpty()) {
        const int ms = argAfter(args, QStringLiteral("--after"), QStringLiteral("500")).toInt();
        QTimer::singleShot(ms, &window, [&window, shot] {
            const bool saved = window.grab().save(shot, "PNG");
            window.close();
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
