#include "WindowRig.h"

#include "link/LinkRig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>

namespace vcm::test {

bool runUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

WindowRig::WindowRig(WindowOptions options)
{
    const std::string ini = folder_.write(
        "VeloxCanMoni.INI", std::string("[Comm]\r\nInterface=") + (options.elm327 ? "ELM327" : "CANUSB") +
                                "\r\nPortNum=1\r\nBPS=500000\r\n[Unit]\r\nSystem=" + (options.metric ? "SI" : "US") +
                                "\r\nTemp=" + (options.celsius ? "Celsius" : "Fahrenheit") +
                                "\r\n[File]\r\nSavePath=" + folder_.path() + "\r\n");
    if (!options.tripFile.empty()) folder_.write("TRAJETS.CSV", options.tripFile);
    adapter.script = options.adapterScript ? options.adapterScript
                     : options.elm327      ? FakePort::Script(ScriptedElm327{})
                                           : FakePort::Script(canUsbReply);
    pump_.setEvents([this] { adapter.deliver(); });
    adapter.failOpen = options.adapterFails;
    form_ = std::make_unique<MainForm>(MainFormServices{clock, fs_, adapter, aux, gps, pump_, ini, folder_.path(), '.',
                                                        options.screen, false, {}, options.startWhenPainted});
    if (options.startWhenPainted) {
        paints_ = std::make_unique<PaintCounter>();
        form_->centralWidget()->installEventFilter(paints_.get());
        form_->view().setMessageHandler([this](std::string_view title, std::string_view text, MessageIcon) {
            messages.push_back({std::string(title), std::string(text), paints_->count > 0});
        });
    }
    form_->show();
    for (int i = 0; i < 5 && options.startWhenPainted; ++i) QApplication::processEvents();
    QApplication::setActiveWindow(form_.get());
    QApplication::processEvents();
}

WindowRig::~WindowRig() { close(); }

void WindowRig::close()
{
    if (form_) form_->close();
    form_.reset();
}

void WindowRig::feed(const std::string& text, int times)
{
    for (int i = 0; i < times; ++i) {
        clock.advance(5);
        adapter.receive(text);
    }
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
    if (!target) target = form_->findChild<QPushButton*>(QStringLiteral("Config"));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

QImage WindowRig::grab(std::string_view name) const
{
    QWidget* w = form_->view().widget({name, -1});
    return w ? w->grab().toImage() : QImage();
}

} // namespace vcm::test
