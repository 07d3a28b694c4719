#pragma once
// The dashboard window. It builds the designed controls, gives the core a View over
// them, and wires timers, keys, menus and buttons to the core's routines. No logic.
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "config/MonitorSettings.h"
#include "dashboard/UnitChoice.h"
#include "dashboard/qt/QtView.h"
#include "link/EventPump.h"
#include "link/SerialPort.h"

#include <QMainWindow>
#include <QSize>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

namespace vcm {

class DashboardRenderer;
class LayoutSwitch;
class Monitor;
class ViewNotices;

// What the window runs on: the program passes the system clock, the disk and Qt's
// serial ports; tests pass a manual clock, a temporary folder and scripted ports.
struct MainFormServices {
    const Clock& clock;
    FileSystem& fs;
    SerialPort& adapterPort;
    SerialPort& auxPort;
    SerialPort& gpsPort;
    EventPump& pump;
    std::string settingsFile;
    std::string defaultSaveFolder;
    char decimalSeparator = '.';
    // Screen size in pixels for the fit of the dial and histogram; empty: the screen's.
    QSize screen;
    // False in tests, which call the ticks themselves.
    bool runTimers = true;
    // The device behind each port number, shown beside "COM n" in the setup dialog.
    std::map<int, std::string> portDevices = {};
    // The program waits for the window's first paint before starting acquisition, so
    // that a port that cannot be opened is reported over the dashboard, not a black
    // window; tests and the window replay start at once, as the load does.
    bool startWhenPainted = false;
};

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs the start-up: histogram and dial fit, settings, trip
    // file, caption, unit labels; acquisition starts from the event loop (after the
    // first paint with startWhenPainted), then startUpFinished() follows.
    explicit MainForm(MainFormServices services, QWidget* parent = nullptr);
    ~MainForm() override;

    QtView& view() { return *view_; }
    Monitor& monitor() { return *monitor_; }
    const MonitorSettings& settings() const { return settings_; }

    // The two timers' work (called by the QTimers, or by tests).
    void mainTick();
    void gpsTick();

    // Delete steps the layouts, space the histogram views; true when the key was used.
    bool handleKey(int key);

    LayoutSwitch& layout() { return *layout_; }

    // Sizes the window to the visible controls (after start-up and each layout step),
    // scaling the whole form down when the screen is too small for it.
    void fitWindowToContent();

    // The setup dialog (COMM menu, Config button) and the save-folder dialog (Save
    // Setting menu), modal over the window; what they chose is applied once closed.
    void openSetupDialog();
    void openSaveFolderDialog();
    // The trip browser over the save folder's logs (FILE menu, while stopped).
    void openTripBrowser();

signals:
    // The adapter's start-up dialogue is over (acquisition running, or stopped by a
    // failure or by the user).
    void startUpFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void wireControls();
    void startUp();
    void beginAcquisition(); // the start-up's, once, from the event loop
    void shutDown();
    void writeSettingsFile();
    void applySettings(const MonitorSettings& chosen, bool closeLog);
    void chooseUnits(Units units);
    void showUnits();
    void fitToScreen();
    void showCelsiusDial(bool celsius);
    void showGpsTrace();

    MainFormServices services_;
    QSize screen_; // the screen's room for the window, pixels
    MonitorSettings settings_;
    std::unique_ptr<QtView> view_;
    std::unique_ptr<ViewNotices> notices_;
    std::unique_ptr<Monitor> monitor_;
    std::unique_ptr<DashboardRenderer> renderer_;
    UnitChoice units_;
    std::unique_ptr<LayoutSwitch> layout_;
    QTimer mainTimer_;
    QTimer gpsTimer_;
    bool shutDownDone_ = false;
    bool acquisitionStarted_ = false; // the start-up's, after the first paint
};

} // namespace vcm
