#pragma once
// What the dialog tests share: a main-window stand-in that records the calls the
// dialogs make and writes the settings to a real file, stand-ins for the folder dialog
// and the message box, and finding controls by name and index.
#include "common/FileSystem.h"
#include "config/Settings.h"
#include "config/SetupHost.h"
#include "config/qt/DialogServices.h"

#include "support/TempFolder.h"

#include <QVariant>
#include <QWidget>

#include <string>
#include <vector>

namespace vcm::test {

// Records the routine names called, in order, and the settings each one saw.
class RecordingHost final : public SetupHost {
public:
    explicit RecordingHost(MonitorSettings& settings) : settings_(settings) {}

    void WriteCloseCSVFile() override { record("WriteCloseCSVFile"); }
    void m_Metric_Click() override { record("m_Metric_Click"); }
    void m_USA_Click() override { record("m_USA_Click"); }
    void m_Celsius_Click() override { record("m_Celsius_Click"); }
    void m_Fahrenheit_Click() override { record("m_Fahrenheit_Click"); }
    void WriteSettings() override
    {
        record("WriteSettings");
        writeSettings(fs_, settingsFile, settings_);
    }

    std::string fileText() const { return folder.read("VeloxCanMoni.INI"); }
    MonitorSettings fileSettings() { return readSettings(fs_, settingsFile, "<no SavePath>"); }

    TempFolder folder;
    std::string settingsFile = folder.file("VeloxCanMoni.INI");
    std::vector<std::string> routines;
    std::vector<MonitorSettings> seen;

private:
    void record(const char* routine)
    {
        routines.emplace_back(routine);
        seen.push_back(settings_);
    }
    MonitorSettings& settings_;
    DiskFileSystem fs_;
};

class AnsweringChooser final : public FolderChooser {
public:
    QString chooseFolder(QWidget*, const QString& title, const QString& startFolder) override
    {
        asked.push_back({title, startFolder});
        return answer;
    }
    QString answer;
    std::vector<std::pair<QString, QString>> asked;
};

class RecordingReporter final : public ProblemReporter {
public:
    void showProblem(QWidget*, const QString& title, const QString& text) override { shown.push_back({title, text}); }
    std::vector<std::pair<QString, QString>> shown;
};

// The control named name (element index of a control array, -1 for a single control).
template <typename T>
T* control(const QWidget* root, const char* name, int index = -1)
{
    for (T* w : root->findChildren<T*>(QString::fromLatin1(name))) {
        const QVariant v = w->property("index");
        if (index < 0 ? !v.isValid() : (v.isValid() && v.toInt() == index)) return w;
    }
    return nullptr;
}

} // namespace vcm::test
