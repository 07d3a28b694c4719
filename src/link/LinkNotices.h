#pragma once
// Why: what the user is told about the ports, in the window's language, in one place.
#include "common/Notices.h"

#include <string>

namespace vcm {

void tellGpsOpenFailed(Notices& notices, int port, const std::string& device);
void tellAdapterOpenFailed(Notices& notices, int port, const std::string& deviceAndReason);
void tellGpsLost(Notices& notices, int port, const std::string& device);

} // namespace vcm
