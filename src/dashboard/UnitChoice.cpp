#include "dashboard/UnitChoice.h"

namespace vcm {

std::optional<Units> UnitChoice::choose(Units chosen)
{
    if (chosen == shown_) return std::nullopt;
    const Units before = shown_;
    shown_ = chosen;
    return before;
}

std::string versionText(int major, int minor, int revision)
{
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

std::string windowCaption(int major, int minor, int revision)
{
    return "VeloxCanMoni Ver." + versionText(major, minor, revision);
}

} // namespace vcm
