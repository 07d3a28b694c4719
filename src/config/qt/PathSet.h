#pragma once
// "Save Folder Setting ": the save folder, typed or chosen in the platform's folder
// dialog, and the language option, which sets only the font of the folder box.
// Valider takes the folder; a language choice is taken at once, kept even after Annuler,
// and puts the folder given back into the box. The dialog stores nothing itself: the
// window applies chosen() and writes the settings file once the dialog is closed.
#include "config/MonitorSettings.h"
#include "config/qt/DialogServices.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace vcm {

class PathSet : public QDialog {
    Q_OBJECT
public:
    PathSet(const MonitorSettings& settings, QWidget* parent = nullptr, DialogServices services = {});

    // The settings given with the language chosen and, once validated, the folder.
    const MonitorSettings& chosen() const { return chosen_; }

private:
    // The font of the folder box, the language option and the folder from chosen().
    void showLanguage();
    void chooseLanguage(int index);
    void browseForFolder();
    void takeFolder();

    MonitorSettings chosen_;
    DialogServices services_;
    bool loadingLanguage_ = false;
    QLineEdit* text1_;
    QRadioButton* option1_[2];
};

} // namespace vcm
