#pragma once
// The value logs of a folder as runs: files in the order they were opened, and a full
// log (65 000 rows) joined with the log that continues it.
#include "ValueLog.h"

#include <string>
#include <vector>

namespace vcm {

// True for names the logger gives value logs: CAN_ddmmyyyy_hhnn*.csv.
bool isValueLogName(const std::string& fileName);

// Sorts paths by the opening time in their names (CAN_ddmmyyyy_hhnn), then by name;
// paths without such a name keep their order after them.
void sortByOpeningTime(std::vector<std::string>& paths);

struct RunRead {
    LogReadResult result;       // the run (rollover pair joined) and its problems
    std::size_t filesUsed = 0;  // paths consumed, at least 1
};

// Reads the run that starts at paths[index], joining the logs that continue it.
RunRead readRunAt(FileSystem& fs, const std::vector<std::string>& paths, std::size_t index);

} // namespace vcm
