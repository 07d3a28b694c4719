#include "WindowRig.h"

#include "link/LinkRig.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <fstream>
#include <sstream>

namespace vcm::test {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
}

WindowRig::WindowRig(WindowOptions options)
{
    ensureApplication();
    {
        std::ofstream ini(settingsFile(), std::ios::binary);
        ini << "[Comm]\r\nInterface=" << (options.elm327 ? "ELM327" : "CANUSB") << "\r\nPortNum=1\r\nBPS=500000\r\n"
            << "[Unit]\r\nSystem=" << (options.metric ? "SI" : "US") << "\r\nTemp="
            << (options.celsius ? "Celsius" : "Fahrenheit") << "\r\n[File]\r\nSavePath=" << folder_.path() << "\r\n";
    }
    if (!options.tripFile.empty()) {
        std::ofstream trips(folder_.path() + "/TRAJETS.CSV", std::ios::binary);
        trips << options.tripFile;
    }
    adapter.script = options.elm327 ? FakePort::Script(ScriptedElm327{}) : FakePort::Script(canUsbReply);
    pump_.setEvents([this] { adapter.deliver(); });
    form_ = std::make_unique<MainForm>(MainFormServices{clock, fs_, adapter, aux, gps, pump_, settingsFile(),
                                                        folder_.path(), '.', options.screen, false});
    form_->show();
    QApplication::setActiveWindow(form_.get());
    QApplication::processEvents();
}

WindowRig::~WindowRig() { close(); }

void WindowRig::close()
{
    if (form_) {
        form_->close();
        form_.reset();
    }
}

void WindowRig::feed(const std::string& text)
{
    clock.advance(5);
    adapter.receive(text);
}

void WindowRig::feedTimes(const std::string& text, int times)
{
    for (int i = 0; i < times; ++i)
        feed(text);
}

void WindowRig::tick(int n)
{
    for (int i = 0; i < n; ++i) {
        clock.advance(100);
        form_->mainTick();
    }
    QApplication::processEvents();
}

void WindowRig::pressKey(int key)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = form_->findChild<QPushButton*>(QStringLiteral("Config"));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

std::string WindowRig::text(std::string_view name, int index) const { return form_->view().text({name, index}); }

bool WindowRig::visible(std::string_view name, int index) const { return form_->view().isVisible({name, index}); }

QImage WindowRig::grab(std::string_view name) const
{
    QWidget* w = form_->view().widget({name, -1});
    return w ? w->grab().toImage() : QImage();
}

std::string WindowRig::settingsFile() const { return folder_.path() + "/VeloxCanMoni.INI"; }

std::string WindowRig::readFile(const std::string& name) const
{
    std::ifstream in(folder_.path() + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace vcm::test
