#pragma once
// The Qt event loop for tests without a window: the application's arguments, and a
// loop that runs until a condition holds or the (short, real) time is up.
#include <QCoreApplication>
#include <QElapsedTimer>

namespace vcm::test {

inline int qtArgc = 1;
inline char qtArg0[] = "vcm_test";
inline char* qtArgv[] = {qtArg0, nullptr};

template <class Done>
bool runUntil(Done done, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

} // namespace vcm::test
