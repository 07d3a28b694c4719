#pragma once
// "Configuration Générale": adapter kind, CAN and GPS ports, logging, GPS and units.
// Every opening starts from MonitorSettings; Valider checks that the CAN and GPS ports
// differ, stores the choices, closes the open log set, applies the units through the
// main window and writes the settings file; Annuler leaves everything as it was.
//
// Port lists: entry data is the port number ("COM 3" holds 3, "without" holds 0). A
// stored port number outside 1..20 gets an entry of its own at the end of its list, so
// that Valider keeps it; a CAN port of 0 shows no selection.
#include "config/MonitorSettings.h"
#include "config/qt/DialogServices.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace vcm {

class SetupHost;

class SetupForm : public QDialog {
    Q_OBJECT
public:
    SetupForm(MonitorSettings& settings, SetupHost& host, QWidget* parent = nullptr, DialogServices services = {});

private:
    void fill();
    void fillPortList(QComboBox* list, bool withoutEntry, int selectedPort);
    void onValider();
    void onSetPath();

    MonitorSettings& settings_;
    SetupHost& host_;
    DialogServices services_;
    QRadioButton* interface_[2];
    QComboBox* canPort_;
    QComboBox* gpsPort_;
    QCheckBox* logfile_;
    QCheckBox* superlogfile_;
    QCheckBox* gpsTracking_;
    QComboBox* distanceUnits_;
    QComboBox* tempUnits_;
};

} // namespace vcm
