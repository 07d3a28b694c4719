#include "SetupForm.h"

#include "PathSet.h"
#include "config/PortLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vcm {
namespace {

constexpr int kListedPorts = 20;

QGroupBox* frame(QWidget* parent, const char* caption, const char* name, int index = -1)
{
    auto* box = new QGroupBox(QString::fromUtf8(caption), parent);
    nameControl(box, name, index);
    return box;
}

QComboBox* portList(QGroupBox* frame)
{
    auto* list = new QComboBox(frame);
    (new QVBoxLayout(frame))->addWidget(list);
    return list;
}

// The port number of the list's selection; 0 when nothing is selected.
int selectedPort(const QComboBox* list) { return list->currentIndex() < 0 ? 0 : list->currentData().toInt(); }

} // namespace

SetupForm::SetupForm(const MonitorSettings& settings, QWidget* parent, DialogServices services)
    : QDialog(parent), chosen_(settings), services_(std::move(services))
{
    setWindowTitle(QStringLiteral("Configuration Générale"));
    setModal(true);

    QGroupBox* frame3 = frame(this, "CAN Monitor Configuration", "Frame3");

    QGroupBox* frame4 = frame(frame3, "Interface", "Frame4");
    interface_[0] = new QRadioButton(QStringLiteral("Elm327"), frame4);
    interface_[1] = new QRadioButton(QStringLiteral("CanUsb"), frame4);
    auto* interfaces = new QVBoxLayout(frame4);
    for (int i = 0; i < 2; ++i) {
        nameControl(interface_[i], "Interface", i);
        interfaces->addWidget(interface_[i]);
    }

    canPort_ = portList(frame(frame3, "Port CAN", "Frame2", 0));
    nameControl(canPort_, "Combo1", 0);
    gpsPort_ = portList(frame(frame3, "Port GPS", "Frame2", 2));
    nameControl(gpsPort_, "Combo1", 2);

    logfile_ = new QCheckBox(QStringLiteral("Activer le journal"), frame3);
    nameControl(logfile_, "logfile");
    superlogfile_ = new QCheckBox(QStringLiteral("Mémoriser données brutes"), frame3);
    nameControl(superlogfile_, "Superlogfile");
    gpsTracking_ = new QCheckBox(QStringLiteral("Activer GPS"), frame3);
    nameControl(gpsTracking_, "GPSTracking");

    QGroupBox* frame5 = frame(frame3, "Unités de Mesure", "Frame5");
    distanceUnits_ = new QComboBox(frame5);
    nameControl(distanceUnits_, "DistanceUnits");
    distanceUnits_->setPlaceholderText(QStringLiteral("Unités de longueur"));
    tempUnits_ = new QComboBox(frame5);
    nameControl(tempUnits_, "TempUnits");
    tempUnits_->setPlaceholderText(QStringLiteral("Température"));
    auto* units = new QVBoxLayout(frame5);
    units->addWidget(distanceUnits_);
    units->addWidget(tempUnits_);

    auto* setPath = new QPushButton(QStringLiteral("Definir le Dossier"), frame3);
    nameControl(setPath, "SetPath");
    setPath->setAutoDefault(false);

    auto* grid = new QGridLayout(frame3);
    grid->addWidget(frame4, 0, 0, 2, 1);
    grid->addWidget(canPort_->parentWidget(), 0, 1);
    grid->addWidget(gpsPort_->parentWidget(), 1, 1);
    grid->addWidget(logfile_, 2, 0);
    grid->addWidget(superlogfile_, 3, 0);
    grid->addWidget(gpsTracking_, 4, 0);
    grid->addWidget(frame5, 2, 1, 3, 1);
    grid->addWidget(setPath, 5, 0, 1, 2);

    QPushButton* command1[2] = {new QPushButton(QStringLiteral("Valider"), this),
                                new QPushButton(QStringLiteral("Annuler"), this)};
    nameControl(command1[0], "Command1", 0);
    nameControl(command1[1], "Command1", 1);
    command1[0]->setDefault(true);
    command1[1]->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1[0]);
    buttons->addWidget(command1[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame3);
    layout->addLayout(buttons);

    connect(command1[0], &QPushButton::clicked, this, &SetupForm::takeChoices);
    connect(command1[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(setPath, &QPushButton::clicked, this, &SetupForm::chooseSaveFolder);

    fill();
}

void SetupForm::fillPortList(QComboBox* list, bool withoutEntry, int port)
{
    list->clear();
    if (withoutEntry) list->addItem(QStringLiteral("without"), 0);
    for (int n = 1; n <= kListedPorts; ++n) list->addItem(fromSettingsText(portLabel(n, services_.portDevices)), n);
    const bool listed = port >= 1 && port <= kListedPorts;
    const bool none = port == 0;
    if (!listed && !none) list->addItem(fromSettingsText(portLabel(port, services_.portDevices)), port);
    list->setCurrentIndex(list->findData(port)); // -1 (no selection) for a CAN port of 0
}

void SetupForm::fill()
{
    tempUnits_->clear();
    tempUnits_->addItems({QStringLiteral("Celsius"), QStringLiteral("Fahrenheit")});
    tempUnits_->setCurrentIndex(chosen_.Celsius ? 0 : 1);
    distanceUnits_->clear();
    distanceUnits_->addItems({QStringLiteral("Metric"), QStringLiteral("USA")});
    distanceUnits_->setCurrentIndex(chosen_.MetricUnits ? 0 : 1);
    fillPortList(canPort_, false, chosen_.PortNum);
    fillPortList(gpsPort_, true, chosen_.PortNumGPS);
    interface_[chosen_.UseElm327 ? 0 : 1]->setChecked(true);
    logfile_->setChecked(chosen_.Logfile);
    superlogfile_->setChecked(chosen_.SuperLogFile);
    gpsTracking_->setChecked(chosen_.EnableGPS);
}

void SetupForm::takeChoices()
{
    const int can = selectedPort(canPort_);
    const int gps = selectedPort(gpsPort_);
    if (can == gps) {
        static QtProblemReporter messageBox;
        ProblemReporter& reporter = services_.problemReporter ? *services_.problemReporter : messageBox;
        reporter.showProblem(this, QStringLiteral("PROBLEME !"),
                             QStringLiteral("Même Port pour CAN et GPS . Changez un des deux ports."));
        return;
    }
    chosen_.PortNum = static_cast<std::int16_t>(can);
    if (interface_[0]->isChecked()) {
        chosen_.UseElm327 = true;
    } else if (interface_[1]->isChecked()) {
        chosen_.UseElm327 = false;
    }
    chosen_.PortNumGPS = static_cast<std::int16_t>(gps);
    chosen_.Logfile = logfile_->isChecked();
    chosen_.SuperLogFile = superlogfile_->isChecked();
    chosen_.EnableGPS = gpsTracking_->isChecked();
    chosen_.Celsius = tempUnits_->currentIndex() == 0;
    chosen_.MetricUnits = distanceUnits_->currentIndex() == 0;
    accept();
}

void SetupForm::chooseSaveFolder()
{
    PathSet pathSet(chosen_, this, services_);
    pathSet.exec();
    chosen_ = pathSet.chosen();
}

} // namespace vcm
