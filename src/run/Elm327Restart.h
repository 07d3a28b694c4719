#pragma once
// Why: an ELM327 that reported "FULL" or "ERROR" has stopped monitoring; until its prompt
// is read (the receive path then restarts it), the tick starts it again.
namespace vcm {

struct LinkState;
class AdapterControl;

// Sends "ATMA" once after a report. The stop dialogue keeps the report: "ATMA" would
// undo the stop.
void restartAfterReport(LinkState& link, AdapterControl& adapter);

} // namespace vcm
