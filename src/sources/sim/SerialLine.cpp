#include "sources/sim/SerialLine.h"

#include <algorithm>
#include <cmath>

namespace vcm::sim {

void SerialLine::send(std::string_view text, double atMs)
{
    if (text.empty()) return;
    const double start = std::max(atMs, busyUntil_);
    if (!pending_.empty() && start == busyUntil_) {
        pending_.back().text += text; // back to back with what is going out
    } else {
        pending_.push_back({std::string(text), start});
    }
    const Chunk& last = pending_.back();
    busyUntil_ = last.doneMs(last.text.size() - 1, msPerChar_);
}

std::size_t SerialLine::doneBy(const Chunk& c, double ms) const
{
    if (ms < c.startMs + msPerChar_) return 0;
    auto n = static_cast<std::size_t>(std::floor((ms - c.startMs) / msPerChar_));
    n = std::min(n, c.text.size());
    // Guard the floor against rounding: character i is done when doneMs(i) <= ms.
    while (n > 0 && c.doneMs(n - 1, msPerChar_) > ms) --n;
    while (n < c.text.size() && c.doneMs(n, msPerChar_) <= ms) ++n;
    return n;
}

std::size_t SerialLine::backlogAt(double ms) const
{
    std::size_t backlog = 0;
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        const std::size_t done = doneBy(*it, ms);
        backlog += it->text.size() - std::max(done, it->sent);
        if (done == it->text.size()) break; // earlier chunks are done as well
    }
    return backlog;
}

void SerialLine::deliverUntil(double ms, std::string& out)
{
    while (!pending_.empty()) {
        Chunk& c = pending_.front();
        const std::size_t done = doneBy(c, ms);
        if (done > c.sent) {
            out.append(c.text, c.sent, done - c.sent);
            c.sent = done;
        }
        if (c.sent < c.text.size()) return;
        pending_.pop_front();
    }
}

} // namespace vcm::sim
