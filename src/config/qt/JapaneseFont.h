#pragma once
#include <QFont>

#include <optional>

namespace vcm {

// A font of this system that can show Japanese folder names, preferring the usual
// Gothic faces; nothing when the system has none.
std::optional<QFont> japaneseFont();

} // namespace vcm
