#include "app/MainForm.h"

#include "app/MainFormDesign.h"
#include "analysis/qt/TripBrowser.h"
#include "config/Settings.h"
#include "config/qt/PathSet.h"
#include "config/qt/SetupForm.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ScreenFit.h"
#include "dashboard/qt/DashboardRenderer.h"
#include "dashboard/qt/DialArt.h"
#include "dashboard/qt/DialLayout.h"
#include "dashboard/qt/LayoutSwitch.h"
#include "dashboard/qt/PictureWidget.h"
#include "dashboard/qt/RepaintPacer.h"
#include "dashboard/qt/Twips.h"
#include "dashboard/qt/UnitLabels.h"
#include "run/Monitor.h"
#include "logging/Histogram.h"
#include "logging/RunLog.h"
#include "logging/SaveFolder.h"
#include "logging/TripFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
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
    notices_ = std::make_unique<ViewNotices>(*view_);
    monitor_ = std::make_unique<Monitor>(settings_, *notices_, services_.clock, services_.fs, services_.adapterPort,
                                         services_.auxPort, services_.gpsPort, services_.pump,
                                         services_.decimalSeparator, services_.defaultSaveFolder);
    renderer_ = std::make_unique<DashboardRenderer>(*view_, monitor_->histogram());
    monitor_->setDashboardChanged([this] { renderer_->render(monitor_->dashboard()); });
    renderer_->render(monitor_->dashboard());
    // The values change at once; the window paints them once a tick.
    new RepaintPacer(this, Monitor::MainTimerMs);
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
    connect(action("m_Metric"), &QAction::triggered, this, [this] { chooseUnits({true, settings_.Celsius}); });
    connect(action("m_us"), &QAction::triggered, this, [this] { chooseUnits({false, settings_.Celsius}); });
    connect(action("m_Celsius"), &QAction::triggered, this, [this] { chooseUnits({settings_.MetricUnits, true}); });
    connect(action("m_Fahrenheit"), &QAction::triggered, this, [this] { chooseUnits({settings_.MetricUnits, false}); });
    connect(action("m_com"), &QAction::triggered, this, &MainForm::openSetupDialog);
    connect(action("m_ss"), &QAction::triggered, this, &MainForm::openSaveFolderDialog);
    connect(action("m_trips"), &QAction::triggered, this, &MainForm::openTripBrowser);
    if (auto* config = qobject_cast<QPushButton*>(view_->widget({"Config"})))
        connect(config, &QPushButton::clicked, this, &MainForm::openSetupDialog);
    if (auto* carTime = view_->widget({"CarTimeValue"}))
        carTime->installEventFilter(this);
}

// Valider closes the open log set, whatever the options; Annuler stores only what the
// save-folder dialog chose from within.
void MainForm::openSetupDialog()
{
    SetupForm dialog(settings_, this, DialogServices{nullptr, nullptr, services_.portDevices});
    const bool validated = dialog.exec() == QDialog::Accepted;
    if (validated || dialog.chosen() != settings_)
        applySettings(dialog.chosen(), validated);
}

// Stored even after Annuler: the language is taken at once (the file is written once,
// as opening the dialog always did).
void MainForm::openSaveFolderDialog()
{
    PathSet dialog(settings_, this, DialogServices{nullptr, nullptr, services_.portDevices});
    dialog.exec();
    applySettings(dialog.chosen(), false);
}

void MainForm::applySettings(const MonitorSettings& chosen, bool closeLog)
{
    if (closeLog)
        monitor_->closeLogs();
    settings_ = chosen;
    showUnits();
    writeSettingsFile();
    monitor_->followSaveFolder();
}

// Reads the logs and the trip file only; window-modal, so acquisition cannot start under it.
void MainForm::openTripBrowser()
{
    const std::string folder = resolveSaveFolder(settings_.SavePath, services_.defaultSaveFolder);
    auto* browser = new TripBrowser(QString::fromStdString(folder), this);
    browser->open();
}

// A Unit menu entry: the units shown and stored at once.
void MainForm::chooseUnits(Units units)
{
    settings_.MetricUnits = units.metric;
    settings_.Celsius = units.celsius;
    showUnits();
    writeSettingsFile();
}

// The labels, check marks and dial face in the units of the settings; figures already on
// screen are converted from the units they were shown in.
void MainForm::showUnits()
{
    const Units chosen = unitsOf(settings_);
    if (const auto before = units_.choose(chosen)) {
        monitor_->unitsChanged(before->metric, before->celsius);
        if (before->celsius != chosen.celsius)
            showCelsiusDial(chosen.celsius);
    }
    showUnitLabels(*view_, chosen);
}

// The coolant scale of the right dial is printed in the chosen unit.
void MainForm::showCelsiusDial(bool celsius)
{
    if (auto* face = findChild<PictureWidget*>(QStringLiteral("CadransBmp")))
        face->setPainter([celsius](QPainter& p, double w, double h) { paintDialFace(p, w, h, celsius); });
}

namespace {

// What the window system adds around the window: borders and a title bar (a guess made
// before the window is first shown, when its frame is not known yet).
constexpr QSize kWindowFrame(8, 40);
// The margin of the parts from the form's edges (60 twips), kept on the right and bottom too.
constexpr int kMarginPx = 4;

} // namespace

// Histogram grid and bars, and the dial zoom limits, from the screen's size.
void MainForm::fitToScreen()
{
    QSize screen = services_.screen;
    screen_ = screen;
    if (screen.isEmpty() && QGuiApplication::primaryScreen()) {
        screen = QGuiApplication::primaryScreen()->size();
        screen_ = QGuiApplication::primaryScreen()->availableGeometry().size();
    }
    const HistogramGeometry g = fitHistogram(screen.width(), screen.height());
    applyHistogramGeometry(*view_, g);
    monitor_->histogram().setLayout(plotLayout(g));
    const int reservedWidth = kWindowFrame.width() + kMarginPx;
    const bool twoRows = screen_.width() > 0 && screen_.width() - reservedWidth - kMarginPx < statusStripWidthPx();
    arrangeStatusStrip(*view_->widget({"StatusStrip"}), twoRows);
    placeStatusStrip(*view_);
    // The zoomed dials leave room for the menu, the title bar and the status strip.
    const int reservedHeight =
        menuBar()->sizeHint().height() + kWindowFrame.height() + statusStripRoomPx(twoRows) + kMarginPx;
    layout_ = std::make_unique<LayoutSwitch>(
        *view_, dialFit(screen_.width(), screen_.height(), reservedHeight, reservedWidth), [this](double zoom) {
            monitor_->setDialZoom(zoom);
            renderer_->redrawNeedles(monitor_->dashboard());
        });
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
    showUnits();
    showCelsiusDial(settings_.Celsius);
    showGpsTrace();
    monitor_->restartSilenceWatch();
    fitWindowToContent();
    // The adapter's start-up dialogue runs from the event loop once the window is on
    // screen (the program waits for its first paint), so an adapter that is slow to
    // answer, or never does, cannot keep it blank, and "PROBLEME!" comes over it.
    if (!services_.startWhenPainted)
        beginAcquisition();
}

void MainForm::beginAcquisition()
{
    if (acquisitionStarted_)
        return;
    acquisitionStarted_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!shutDownDone_)
            monitor_->startAcquisition();
        emit startUpFinished();
    });
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
                     monitor_->saveError().c_str());
}

void MainForm::writeSettingsFile()
{
    writeSettings(services_.fs, services_.settingsFile, settings_);
    showGpsTrace();
}

// The altitude trend means nothing without a GPS receiver: it shows only when one is on.
void MainForm::showGpsTrace() { view_->setVisible({"GpsTrace"}, settings_.EnableGPS); }

void MainForm::mainTick() { monitor_->onMainTimer(); }

void MainForm::gpsTick() { monitor_->onGpsTimer(); }

void MainForm::fitWindowToContent()
{
    placeStatusStrip(*view_);
    QWidget* form = centralWidget();
    // The visible parts at the designed size, the left and top margins kept on the far sides.
    QRectF design;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden() && w->property("vcmTwips").isValid())
            design |= w->property("vcmTwips").toRectF();
    const double designWidth = twipsToPixels(design.right() + design.left());
    const double designHeight = twipsToPixels(design.bottom() + design.top());
    // A screen too small for the design gets all of it smaller, as the dial zoom does
    // (one pixel kept for the rounding of edges).
    const int menu = menuBar()->sizeHint().height();
    double scale = 1.0;
    if (!screen_.isEmpty() && designWidth > 0 && designHeight > 0)
        scale = std::min({1.0, (screen_.width() - kWindowFrame.width() - 1) / designWidth,
                          (screen_.height() - kWindowFrame.height() - menu - 1) / designHeight});
    view_->setFormScale(form, scale);

    QRect used;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            used |= w->geometry();
    const QSize size(used.right() + 1 + used.left(), used.bottom() + 1 + used.top());
    form->setMinimumSize(size);
    // The old minimum (a bigger layout's) must go before the window can shrink.
    if (QLayout* windowLayout = QMainWindow::layout())
        windowLayout->activate();
    resize(size.width(), size.height() + menu);
    if (services_.screen.isEmpty() && isVisible() && QGuiApplication::primaryScreen()) {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        if (!room.contains(frameGeometry()))
            move(room.topLeft());
    }
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (!acquisitionStarted_ && watched == centralWidget() && event->type() == QEvent::Paint)
        beginAcquisition();
    // A click on the driving time restarts the run clock.
    if (event->type() == QEvent::MouseButtonPress && watched == view_->widget({"CarTimeValue"}))
        monitor_->restartRunClock();
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
        renderer_->render(monitor_->dashboard());
    } else if (key == Qt::Key_Delete) {
        layout_->next();
    } else {
        return false;
    }
    fitWindowToContent();
    return true;
}

void MainForm::closeEvent(QCloseEvent* event)
{
    shutDown();
    event->accept();
}

} // namespace vcm
