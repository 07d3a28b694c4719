#pragma once
// "Save Folder Setting ": the save folder, typed or chosen in the platform's folder
// dialog, and the language option, which sets only the font of the folder box.
// Opening the dialog writes the settings file; Valider stores the folder; a language
// choice is stored at once and puts the stored folder back into the box.
#include "config/MonitorSettings.h"
#include "config/qt/DialogServices.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace vcm {

class SetupHost;

class PathSet : public QDialog {
    Q_OBJECT
public:
    PathSet(MonitorSettings& settings, SetupHost& host, QWidget* parent = nullptr, DialogServices services = {});

    // The font of the folder box, the language option and the folder text from the
    // settings, then the settings file is written.
    void ApplyLanguage();

private:
    void onLanguageChosen(int index);
    void onExplore();
    void onValider();

    MonitorSettings& settings_;
    SetupHost& host_;
    DialogServices services_;
    bool loadingLanguage_ = false;
    QLineEdit* text1_;
    QRadioButton* option1_[2];
};

} // namespace vcm
