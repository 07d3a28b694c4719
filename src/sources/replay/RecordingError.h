#pragma once
// An input that cannot be replayed. The message names the file and the line.
#include <stdexcept>
#include <string>

namespace vcm {

class RecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "drive.log:12: what" (line 0 = the file as a whole: "drive.log: what").
std::string recordingMessage(const std::string& file, std::size_t line, const std::string& what);

} // namespace vcm
