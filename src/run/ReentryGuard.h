#pragma once
// Marks a handler as running for the length of a scope, so that an event delivered
// while it yields to the event loop does not run it inside itself.
namespace vcm {

class ReentryGuard {
public:
    explicit ReentryGuard(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~ReentryGuard()
    {
        if (entered_)
            flag_ = false;
    }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
    // False when the handler was already running.
    bool entered() const { return entered_; }

private:
    bool& flag_;
    bool entered_;
};

} // namespace vcm
