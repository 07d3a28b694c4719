#include "app/MainForm.h"

#include "app/MainFormDesign.h"
#include "config/Settings.h"
#include "dashboard/Panels.h"
#include "dashboard/qt/DialArt.h"
#include "dashboard/qt/PictureWidget.h"
#include "link/Monitor.h"
#include "logging/Histogram.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace vcm {

MainForm::MainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services))
{
    buildMainFormDesign(*this);
    view_ = std::make_unique<QtView>(this);
    view_->setSystemTextColor(rgb(110, 118, 130));
    view_->setBackColor({"CommStatus", 0}, colors::LampDark);
    monitor_ = std::make_unique<Monitor>(settings_, *view_, services_.clock, services_.fs, services_.adapterPort,
                                         services_.auxPort, services_.gpsPort, services_.pump,
                                         services_.decimalSeparator, services_.defaultSaveFolder);
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
    connect(action("m_si"), &QAction::triggered, this, [this] { chooseMetric(true); });
    connect(action("m_us"), &QAction::triggered, this, [this] { chooseMetric(false); });
    connect(action("m_celsius"), &QAction::triggered, this, [this] { chooseCelsius(true); });
    connect(action("m_fahrenheit"), &QAction::triggered, this, [this] { chooseCelsius(false); });
}

void MainForm::startUp()
{
    settings_ = readSettings(services_.fs, services_.settingsFile, services_.defaultSaveFolder);
    monitor_->loadTrips();
    setWindowTitle(QStringLiteral("VeloxCanMoni"));
    if (!settings_.MetricUnits)
        chooseMetric(false);
    if (!settings_.Celsius)
        chooseCelsius(false);
    showUnitChecks();
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
    monitor_->saveTrips();
}

void MainForm::writeSettingsFile() { writeSettings(services_.fs, services_.settingsFile, settings_); }

void MainForm::chooseMetric(bool metric)
{
    settings_.MetricUnits = metric;
    showUnitChecks();
    writeSettingsFile();
}

void MainForm::chooseCelsius(bool celsius)
{
    settings_.Celsius = celsius;
    view_->setText({"BattTempUnit"}, celsius ? "°C" : "°F");
    if (auto* face = findChild<PictureWidget*>(QStringLiteral("CadransBmp")))
        face->setPainter([celsius](QPainter& p, double w, double h) { paintDialFace(p, w, h, celsius); });
    showUnitChecks();
    writeSettingsFile();
}

void MainForm::showUnitChecks()
{
    view_->setChecked({"m_si"}, settings_.MetricUnits);
    view_->setChecked({"m_us"}, !settings_.MetricUnits);
    view_->setChecked({"m_celsius"}, settings_.Celsius);
    view_->setChecked({"m_fahrenheit"}, !settings_.Celsius);
}

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
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainForm::handleKey(int key)
{
    if (key == Qt::Key_Space) {
        monitor_->histogram().advanceView();
        showHistogram(monitor_->histogram(), *view_);
        return true;
    }
    return key == Qt::Key_Delete;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

} // namespace vcm
