#pragma once
// What the two dialogs need from outside besides the settings and the main window:
// the folder chooser, the message box of a wrong choice and the device of each port
// number. Tests replace the first two so that nothing waits for a user.
#include <QString>

#include <map>
#include <string>

class QWidget;

namespace vcm {

class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder, or "" when the user cancelled. Opens on startFolder when it exists.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
};

class ProblemReporter {
public:
    virtual ~ProblemReporter() = default;
    // A message with an OK button only; returns when the user has read it.
    virtual void showProblem(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The platform's own folder dialog.
class QtFolderChooser final : public FolderChooser {
public:
    QString chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
};

// A modal message box.
class QtProblemReporter final : public ProblemReporter {
public:
    void showProblem(QWidget* parent, const QString& title, const QString& text) override;
};

struct DialogServices {
    FolderChooser* folderChooser = nullptr;     // nullptr: QtFolderChooser
    ProblemReporter* problemReporter = nullptr; // nullptr: QtProblemReporter
    std::map<int, std::string> portDevices;     // device shown beside "COM n"; none on Windows
};

// Control arrays: the element's widget has objectName = the array's name and the dynamic
// property "index" = the element ("Combo1" index 2). Single controls have no "index".
void nameControl(QWidget* widget, const char* name, int index = -1);

// Texts of the settings file are 8-bit in the system's code page (UTF-8 on Linux).
QString fromSettingsText(const std::string& text);
std::string toSettingsText(const QString& text);

} // namespace vcm
