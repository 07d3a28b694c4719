#pragma once
// A port listener that counts receive events and records errors, as a host hears them.
#include "link/SerialPort.h"

#include <vector>

namespace vcm::test {

class RecordingListener final : public PortListener {
public:
    void onReceive() override { ++receives; }
    void onError(PortError e) override { errors.push_back(e); }
    int receives = 0;
    std::vector<PortError> errors;
};

} // namespace vcm::test
