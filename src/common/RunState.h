#pragma once
// Whether acquisition runs. The adapter link owns it (RunStates); the dashboard shows it.
//   Stopped -> Starting (port open, start-up dialogue) -> Running -> Stopping (stop
//   dialogue) -> Stopped; a lost adapter ends in Lost.

namespace vcm {

enum class RunState { Stopped, Starting, Running, Stopping, Lost };

} // namespace vcm
