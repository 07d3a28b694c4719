// veloxcanmoni: the dashboard.
//   veloxcanmoni                          the dashboard window
//   veloxcanmoni --screenshot FILE [--after MS]
//                                         renders the window to a PNG after MS ms and quits
#include "app/MainForm.h"

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    vcm::MainForm window;
    window.show();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot > 0 && shot + 1 < args.size()) {
        const QString file = args[shot + 1];
        const qsizetype after = args.indexOf(QStringLiteral("--after"));
        const int ms = after > 0 && after + 1 < args.size() ? args[after + 1].toInt() : 500;
        QTimer::singleShot(ms, &window, [&window, file] {
            const bool saved = window.grab().save(file, "PNG");
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
