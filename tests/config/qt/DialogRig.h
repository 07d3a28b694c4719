#pragma once
// What the dialog tests share: stand-ins for the folder dialog and the message box,
// finding controls by name and index, and answering a modal dialog.
#include "config/MonitorSettings.h"
#include "config/qt/DialogServices.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vcm::test {

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

// A dialog shown on settings, with the stand-ins as its services.
template <typename Dialog>
struct ShownDialog {
    explicit ShownDialog(const MonitorSettings& settings, std::map<int, std::string> devices = {})
        : dialog(std::make_unique<Dialog>(settings, nullptr, DialogServices{.folderChooser = &chooser,
                                                                            .problemReporter = &reporter,
                                                                            .portDevices = std::move(devices)}))
    {
        dialog->show();
    }
    void click(const char* name, int index = -1) const { control<QPushButton>(dialog.get(), name, index)->click(); }

    AnsweringChooser chooser;
    RecordingReporter reporter;
    std::unique_ptr<Dialog> dialog;
};

// Answers the next modal dialog from inside its own event loop.
inline void answerModal(std::function<void(QWidget& dialog)> answer)
{
    QTimer::singleShot(0, [answer] {
        if (QWidget* dialog = QApplication::activeModalWidget()) answer(*dialog);
    });
}

} // namespace vcm::test
