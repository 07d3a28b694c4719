#pragma once
// "Configuration Générale": adapter kind, CAN and GPS ports, logging, GPS and units.
// Every opening starts from the settings given; Valider checks that the CAN and GPS ports
// differ, takes the choices and closes (accepted); Annuler closes (rejected). The dialog
// stores nothing itself: the window applies chosen() and writes the settings file.
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

class SetupForm : public QDialog {
    Q_OBJECT
public:
    SetupForm(const MonitorSettings& settings, QWidget* parent = nullptr, DialogServices services = {});

    // The settings as chosen: every control's value once validated; until then (and after
    // Annuler) the settings given with what the save-folder dialog chose meanwhile.
    const MonitorSettings& chosen() const { return chosen_; }

private:
    void fill();
    void fillPortList(QComboBox* list, bool withoutEntry, int selectedPort);
    void takeChoices();
    void chooseSaveFolder();

    MonitorSettings chosen_;
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
