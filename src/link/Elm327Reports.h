#pragma once
// Finds, in the ELM327's text as it is read (split anywhere), the reports after which
// the adapter has left monitoring, and the prompt that follows them:
//   "BUFFER FULL\r\n\r\n>"   the host did not take the text fast enough
//   "CAN ERROR\r\n\r\n>"     any other "... ERROR" line
// Lines the adapter marks as damaged ("3C8 00 00 <RX ERROR", "... <DATA ERROR") are
// not such reports: monitoring goes on after them.
#include <string>
#include <string_view>

namespace vcm {

class Elm327Reports {
public:
    struct Seen {
        bool stopReport = false; // a report ended in this read
        bool prompt = false;     // a ">" after the last report of this read (any ">" when none)
    };

    Seen scan(std::string_view chunk);
    void clear() { tail_.clear(); }

private:
    void keepTail(std::string_view chunk);

    // The end of the previous read, long enough to hold "<DATA ERRO".
    static constexpr std::size_t kTail = 10;
    std::string tail_;
    std::string joined_;
};

} // namespace vcm
