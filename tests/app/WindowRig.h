#pragma once
// The real dashboard window over scripted adapter ports, a manual clock and a
// temporary save folder: tests feed adapter text, tick, and read the window.
#include "link/FakePort.h"
#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "app/MainForm.h"
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "link/ManualEventPump.h"

#include <QEvent>
#include <QImage>
#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vcm::test {

class WindowRig;

// Runs the event loop until done() holds, for at most limitMs of real time.
bool runUntil(const std::function<bool()>& done, int limitMs = 2000);

struct WindowOptions {
    bool elm327 = true, metric = true, celsius = true;
    QSize screen{1280, 1024};
    std::string tripFile = {}; // TRAJETS.CSV of an earlier run, written before start-up
    FakePort::Script adapterScript = {};          // the adapter's answers; empty: a scripted adapter
    bool startWhenPainted = false; // as the program starts: acquisition after the first paint
    bool adapterFails = false;     // the adapter port cannot be opened
};

// A message box the window showed, and whether the dashboard had been painted before it.
struct ShownMessage { std::string title, text; bool afterPaint = false; };

class WindowRig {
public:
    explicit WindowRig(WindowOptions options = {});
    ~WindowRig();

    // Adapter text arriving on the adapter port (one receive event each time).
    void feed(const std::string& text, int times = 1);
    // n main ticks, 100 ms apart.
    void tick(int n = 1);
    // A key press as the user makes it: delivered to the focused button, seen by the window.
    void pressKey(int key);
    // A click on the button name (element index of a control array).
    void click(std::string_view name, int index = -1) { QMetaObject::invokeMethod(view().widget({name, index}), "click"); }

    std::string text(std::string_view name, int index = -1) const { return form_->view().text({name, index}); }
    bool visible(std::string_view name, int index = -1) const { return form_->view().isVisible({name, index}); }
    QImage grab(std::string_view name) const;

    MainForm& form() { return *form_; }
    QtView& view() { return form_->view(); }
    // A file of the save folder (which holds the settings file too).
    std::string readFile(const std::string& name) const { return test::readFile(folder_.file(name)); }
    // Writes, creations, replaces, renames and removals on the disk so far.
    int diskChanges() const { return fs_.changes; }
    void close();

    ManualClock clock;
    FakePort adapter, aux, gps;
    std::vector<ShownMessage> messages; // only with startWhenPainted: others are modal

private:
    struct PaintCounter : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) ++count;
            return false;
        }
    };
    std::unique_ptr<PaintCounter> paints_;
    TempFolder folder_;
    ManualEventPump pump_{clock, 10};
    FaultyFileSystem fs_; // without faults: the disk, its changes counted
    std::unique_ptr<MainForm> form_;
};

} // namespace vcm::test
