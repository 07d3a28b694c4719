#include "run/Elm327Restart.h"

#include "link/AdapterControl.h"
#include "link/LinkState.h"

namespace vcm {

void restartAfterReport(LinkState& link, AdapterControl& adapter)
{
    if (!link.AdapterErrorSeen || adapter.dialogueInProgress())
        return;
    link.AdapterErrorSeen = false;
    adapter.sendCommand("ATMA", false);
}

} // namespace vcm
