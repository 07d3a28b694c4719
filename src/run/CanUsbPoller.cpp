#include "run/CanUsbPoller.h"

#include "decode/VehicleState.h"
#include "link/AdapterControl.h"

namespace vcm {

void CanUsbPoller::poll()
{
    if (adapter_.dialogueInProgress())
        return;
    if (step_ == 2)
        step_ = 0;
    if (step_ == 0) {
        adapter_.sendCommand(Request, false);
    } else {
        adapter_.sendCommand(FlowControl, false);
        vehicle_.DiagReplyKind = "C3";
    }
    ++step_;
}

} // namespace vcm
