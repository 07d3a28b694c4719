#include "sources/replay/GpsRecordingFeed.h"

#include <algorithm>
#include <cmath>

namespace vcm {

GpsRecordingFeed::GpsRecordingFeed(const std::string& path, double driveDurationMs) : in_(path)
{
    FileReader counter(path);
    for (std::string_view block = counter.peek(1); !block.empty(); block = counter.peek(1)) {
        sentences_ += static_cast<std::size_t>(std::count(block.begin(), block.end(), '$'));
        counter.consume(block.size());
    }
    ticks_ = std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(driveDurationMs / kGpsTickMs)));
}

std::string GpsRecordingFeed::textForTick(std::size_t k)
{
    if (k == 0)
        return {};
    const bool last = k >= ticks_;
    const std::size_t target = last ? sentences_ : (sentences_ * k + ticks_ - 1) / ticks_;
    std::string text;
    // Consume up to (not including) the '$' that starts sentence target + 1.
    for (;;) {
        const std::string_view view = in_.peek(4096);
        std::size_t take = view.size();
        for (std::size_t i = 0; i < view.size(); ++i) {
            if (view[i] != '$')
                continue;
            if (delivered_ == target && !last) {
                take = i;
                break;
            }
            ++delivered_;
        }
        // The port holds what 2 s at 9600 bit/s bring, and much less is ever sent: a
        // longer run without a new sentence is damage, dropped as an overflowing port would.
        if (text.size() < kMaxTickText)
            text.append(view.substr(0, std::min(take, kMaxTickText - text.size())));
        in_.consume(take);
        if (take < view.size() || view.empty())
            return text;
    }
}

} // namespace vcm
