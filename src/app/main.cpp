// veloxcanmoni: dispatches on the first argument to the program's modes.
//   veloxcanmoni                       the dashboard on the adapter of the settings file
//   veloxcanmoni --live-candump FILE|-  the dashboard on candump -L text from a file that
//                                      is being written, or a pipe (candump -L can0 | ...)
//   veloxcanmoni --simulate [elm327|canusb]
//                                      the dashboard on the in-process simulated car
//                                      (settings in VeloxCanMoni-simulated.INI beside
//                                      the usual file, so the car's own stay untouched)
//   --layout A|B|C|D                   starts in that layout (as many Delete presses)
//   --screenshot FILE [--after MS]     renders the window to a PNG after MS ms and quits
//   veloxcanmoni --decode FILE [--adapter elm327|canusb]
//                                      decoded-value report of a file of adapter text
//   veloxcanmoni --replay FILE [...]   a recorded drive through the live path (ReplayCommand.h)
//   veloxcanmoni --headless [...]      live logging without a window (HeadlessCommand.h)
//   veloxcanmoni --report LOG|FOLDER [--out DIR]
//                                      charts and report.html of value logs (ReportCommand.h)
//   veloxcanmoni --help | --version    every option, one line each (CommandLine.h)
// The modes without a window live in WindowlessModes, shared with veloxcanmoni-headless.
#include "app/CommandLine.h"
#include "app/MainForm.h"
#include "app/ProgramPaths.h"
#include "app/RedrawCounter.h"
#include "app/ReplayWindow.h"
#include "app/WindowlessModes.h"
#include "analysis/qt/ReportCommand.h"
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "config/Settings.h"
#include "link/qt/QtEventPump.h"
#include "sources/qt/QtPorts.h"
#include "sources/sim/SimulatedPort.h"

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    // The command line is read before any QApplication, so that --help, --version, a
    // mistake, decode, replay, export and headless logging need no display (a replay
    // played into the dashboard, --gui, makes its own).
    const vcm::CommandLine line = vcm::parseCommandLine({argv + 1, argv + argc}, vcm::Program::Dashboard);
    if (auto status = vcm::runWindowlessMode(line, vcm::Program::Dashboard, argc, argv, vcm::runReplayWindow))
        return *status;
    if (line.mode == vcm::ProgramMode::Report)
        return vcm::runReportMode({line.report.input, line.report.outDir}, argc, argv);

    QApplication app(argc, argv);
    const bool simulate = line.dashboard.simulate.has_value();
    const std::string simAdapter = line.dashboard.simulate.value_or("elm327");

    vcm::SystemClock clock;
    vcm::DiskFileSystem fs;
    vcm::QtEventPump pump;
    const vcm::ProgramPaths paths =
        vcm::programPaths(fs, QCoreApplication::applicationDirPath().toStdString(), simulate);
    if (const std::string problem = vcm::settingsReadProblem(fs, paths.settingsFile); !problem.empty())
        std::fprintf(stderr, "veloxcanmoni: %s\n", problem.c_str());
    std::map<int, std::string> portMap = vcm::readPortMap(fs, paths.settingsFile);
    if (!line.dashboard.liveCandump.empty()) {
        vcm::MonitorSettings s = vcm::readSettings(fs, paths.settingsFile, paths.defaultSaveFolder);
        vcm::routeAdapterToCandump(portMap, s, line.dashboard.liveCandump);
    }
    vcm::QtPorts ports(portMap, clock);

    // The simulated car stands in for the adapter port; it runs on from a fast timer.
    std::unique_ptr<vcm::sim::SimulatedPort> car;
    QTimer carTimer;
    int carPort = 0;
    if (simulate) {
        std::string error;
        car = vcm::sim::SimulatedPort::create("sim:" + simAdapter, clock, &error);
        if (!car) {
            std::fprintf(stderr, "simulated car: %s\n", error.c_str());
            return 1;
        }
        // The session reads the adapter kind from the settings: make it the car's.
        vcm::MonitorSettings s = vcm::readSettings(fs, paths.settingsFile, paths.defaultSaveFolder);
        s.UseElm327 = simAdapter == "elm327";
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
                                               QSize(), true, devices, true});
    window.show();
    if (qEnvironmentVariableIntValue("VCM_REDRAW_STATS") == 1)
        new vcm::RedrawCounter(&window, true);
    for (int step = 0; step < line.dashboard.layoutSteps; ++step)
        window.handleKey(Qt::Key_Delete);

    const QString shot = QString::fromStdString(line.dashboard.screenshot);
    if (!shot.isEmpty()) {
        QTimer::singleShot(line.dashboard.screenshotAfterMs, &window, [&window, shot] {
            const bool saved = window.grab().save(shot, "PNG");
            window.close();
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
