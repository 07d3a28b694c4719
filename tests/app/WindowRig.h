#pragma once
// The real dashboard window over scripted adapter ports, a manual clock and a
// temporary save folder: tests feed adapter text, tick, and read the window.
#include "link/FakePort.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "app/MainForm.h"
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "link/ManualEventPump.h"

#include <QImage>

#include <functional>

#include <memory>
#include <string>

namespace vcm::test {

class WindowRig;

// Creates the one QApplication of the test program (offscreen).
void ensureApplication();

struct WindowOptions {
    bool elm327 = true, metric = true, celsius = true;
    QSize screen{1280, 1024};
    std::string tripFile = {}; // TRAJETS.CSV of an earlier run, written before start-up
    FakePort::Script adapterScript = {};          // the adapter's answers; empty: a scripted adapter
    std::function<void(WindowRig&)> onEvents = {}; // runs on every pass of the core's event waits
};

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

    std::string text(std::string_view name, int index = -1) const;
    bool visible(std::string_view name, int index = -1) const;
    QImage grab(std::string_view name) const;

    MainForm& form() { return *form_; }
    QtView& view() { return form_->view(); }
    // A file of the save folder (which holds the settings file too).
    std::string readFile(const std::string& name) const { return test::readFile(folder_.file(name)); }
    void close();

    ManualClock clock;
    FakePort adapter, aux, gps;

private:
    TempFolder folder_;
    ManualEventPump pump_{clock, 10};
    DiskFileSystem fs_;
    std::unique_ptr<MainForm> form_;
};

} // namespace vcm::test
