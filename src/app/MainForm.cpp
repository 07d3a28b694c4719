#include "app/MainForm.h"

#include "app/MainFormDesign.h"
#include "config/Settings.h"
#include "config/qt/PathSet.h"
#include "config/qt/SetupForm.h"
#include "dashboard/DisplayLayout.h"
#include "dashboard/Panels.h"
#include "dashboard/ScreenFit.h"
#include "dashboard/UnitChoice.h"
#include "dashboard/qt/DialArt.h"
#include "dashboard/qt/PictureWidget.h"
#include "link/Monitor.h"
#include "logging/Histogram.h"
#include "logging/RunLog.h"
#include "logging/TripFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>

#include <cstdio>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace vcm {

MainForm::MainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services))
{
    view_ = std::make_unique<QtView>(this);
    buildMainFormDesign(*this, *view_);
    view_->setSystemTextColor(rgb(110, 118, 130));
    view_->setBackColor({"CommStatus", 0}, colors::LampDark);
    monitor_ = std::make_unique<Monitor>(settings_, *view_, services_.clock, services_.fs, services_.adapterPort,
                                         services_.auxPort, services_.gpsPort, services_.pump,
                                         services_.decimalSeparator, services_.defaultSaveFolder);
    units_ = std::make_unique<UnitChoice>(*view_, settings_, [this] { writeSettingsFile(); });
    // Keys reach the window before its buttons.
    qApp->installEventFilter(this);
    wireControls();
    mainTimer_.setInterval(Monitor::MainTimerMs);
    gpsTimer_.setInterval(Monitor::GpsTimerMs);
    connect(&mainTimer_, &QTimer::timeout, this, &MainForm::mainTick);
    connect(&gpsTimer_, &QTimer::timeout, this, &MainForm::gpsTick);
    if (services_.runTimers) {
        mainTimer_.start();
        gpsTimer_.start();
    }
    startUp();
}

MainForm::~MainForm()
{
    qApp->removeEventFilter(this);
    shutDown();
}

void MainForm::wireControls()
{
    auto action = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    auto button = [this](int index) {
        for (auto* b : findChildren<QPushButton*>(QStringLiteral("Command1")))
            if (b->property("index").toInt() == index)
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    connect(button(0), &QPushButton::clicked, this, [this] { monitor_->onCommandClick(0); });
    connect(button(1), &QPushButton::clicked, this, [this] { monitor_->onCommandClick(1); });
    connect(action("m_exit"), &QAction::triggered, this, [this] {
        monitor_->stopAcquisition();
        writeSettingsFile();
        close();
    });
    connect(action("m_Metric"), &QAction::triggered, this, [this] { units_->chooseMetric(true); });
    connect(action("m_us"), &QAction::triggered, this, [this] { units_->chooseMetric(false); });
    connect(action("m_Celsius"), &QAction::triggered, this, [this] {
        units_->chooseCelsius(true);
        showCelsiusDial(true);
    });
    connect(action("m_Fahrenheit"), &QAction::triggered, this, [this] {
        units_->chooseCelsius(false);
        showCelsiusDial(false);
    });
    connect(action("m_com"), &QAction::triggered, this, &MainForm::openSetupDialog);
    connect(action("m_ss"), &QAction::triggered, this, &MainForm::openSaveFolderDialog);
    if (auto* config = qobject_cast<QPushButton*>(view_->widget({"Config"})))
        connect(config, &QPushButton::clicked, this, &MainForm::openSetupDialog);
    if (auto* carTime = view_->widget({"CarTimeValue"}))
        carTime->installEventFilter(this);
}

void MainForm::openSetupDialog()
{
    SetupForm dialog(settings_, *this, this, DialogServices{nullptr, nullptr, services_.portDevices});
    dialog.exec();
    monitor_->followSaveFolder();
}

void MainForm::openSaveFolderDialog()
{
    PathSet dialog(settings_, *this, this, DialogServices{nullptr, nullptr, services_.portDevices});
    dialog.exec();
    monitor_->followSaveFolder();
}

void MainForm::WriteCloseCSVFile() { monitor_->runLog().close(); }
void MainForm::m_Metric_Click() { units_->m_Metric_Click(); }
void MainForm::m_USA_Click() { units_->m_USA_Click(); }
void MainForm::m_Celsius_Click()
{
    units_->m_Celsius_Click();
    showCelsiusDial(true);
}
void MainForm::m_Fahrenheit_Click()
{
    units_->m_Fahrenheit_Click();
    showCelsiusDial(false);
}
void MainForm::WriteSettings() { writeSettingsFile(); }

// The coolant scale of the right dial is printed in the chosen unit.
void MainForm::showCelsiusDial(bool celsius)
{
    if (auto* face = findChild<PictureWidget*>(QStringLiteral("CadransBmp")))
        face->setPainter([celsius](QPainter& p, double w, double h) { paintDialFace(p, w, h, celsius); });
}

// Histogram grid and bars, and the dial zoom limits, from the screen's size.
void MainForm::fitToScreen()
{
    QSize screen = services_.screen;
    if (screen.isEmpty() && QGuiApplication::primaryScreen())
        screen = QGuiApplication::primaryScreen()->size();
    const HistogramGeometry g = fitHistogram(screen.width(), screen.height());
    applyHistogramGeometry(*view_, g);
    monitor_->histogram().setLayout({g.plotLeft, g.barWidth, g.plotTop, g.plotHeight});
    placeStatusStrip(*view_);
    const int reserved = menuBar()->sizeHint().height() + 40; // menu and title bars
    layout_ = std::make_unique<DisplayLayout>(*view_, monitor_->panels(), monitor_->histogram(),
                                              dialFit(screen.width(), screen.height(), reserved));
}

// Start-up in the order of the window's load: histogram and dial fit, settings, trip
// file, caption, unit labels, then acquisition without waiting for the user.
void MainForm::startUp()
{
    fitToScreen();
    settings_ = readSettings(services_.fs, services_.settingsFile, services_.defaultSaveFolder);
    monitor_->loadTrips();
    setWindowTitle(QString::fromStdString(
        windowCaption(VCM_VERSION_MAJOR, VCM_VERSION_MINOR, VCM_VERSION_PATCH)));
    units_->applyAtStartUp();
    // The check marks of the design are metric and Celsius; set them from the settings.
    view_->setChecked({"m_Metric"}, settings_.MetricUnits);
    view_->setChecked({"m_us"}, !settings_.MetricUnits);
    view_->setChecked({"m_Celsius"}, settings_.Celsius);
    view_->setChecked({"m_Fahrenheit"}, !settings_.Celsius);
    showCelsiusDial(settings_.Celsius);
    monitor_->vehicle().LastFrameTime = services_.clock.now();
    fitWindowToContent();
    monitor_->startAcquisition();
}

void MainForm::shutDown()
{
    if (shutDownDone_)
        return;
    shutDownDone_ = true;
    mainTimer_.stop();
    gpsTimer_.stop();
    monitor_->stopAcquisition();
    writeSettingsFile();
    if (!monitor_->saveTrips())
        std::fprintf(stderr, "veloxcanmoni: the trip of this run could not be saved: %s\n",
                     monitor_->trips().saveError().c_str());
}

void MainForm::writeSettingsFile() { writeSettings(services_.fs, services_.settingsFile, settings_); }

void MainForm::mainTick() { monitor_->onMainTimer(); }

void MainForm::gpsTick() { monitor_->onGpsTimer(); }

void MainForm::fitWindowToContent()
{
    QWidget* form = centralWidget();
    QRect used;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            used |= w->geometry();
    const QSize size(used.right() + 1 + used.left(), used.bottom() + 1 + used.top());
    form->setMinimumSize(size);
    resize(size.width(), size.height() + menuBar()->sizeHint().height());
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the driving time restarts the run clock.
    if (event->type() == QEvent::MouseButtonPress && watched == view_->widget({"CarTimeValue"}))
        monitor_->panels().carTimeClicked(monitor_->link().RunStart);
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainForm::handleKey(int key)
{
    int code = key == Qt::Key_Space ? KeySpace : key == Qt::Key_Delete ? KeyDelete : 0;
    if (code == 0)
        return false;
    layout_->keyDown(code);
    fitWindowToContent();
    return true;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

} // namespace vcm
