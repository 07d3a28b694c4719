#include "link/sim/SerialLine.h"

#include <algorithm>

namespace vcm::sim {

void SerialLine::send(std::string_view text, double atMs)
{
    double t = std::max(atMs, busyUntil_);
    for (char c : text) {
        t += msPerChar_;
        pending_.push_back({c, t});
    }
    busyUntil_ = t;
}

std::size_t SerialLine::backlogAt(double ms) const
{
    auto firstUnsent = std::upper_bound(pending_.begin(), pending_.end(), ms,
                                        [](double t, const Pending& p) { return t < p.doneMs; });
    return static_cast<std::size_t>(pending_.end() - firstUnsent);
}

void SerialLine::deliverUntil(double ms, std::string& out)
{
    while (!pending_.empty() && pending_.front().doneMs <= ms) {
        out.push_back(pending_.front().c);
        pending_.pop_front();
    }
}

} // namespace vcm::sim
