#include "link/Elm327Reports.h"

#include <algorithm>

namespace vcm {
namespace {

bool endsWith(std::string_view text, std::size_t end, std::string_view word)
{
    return end >= word.size() && text.substr(end - word.size(), word.size()) == word;
}

} // namespace

Elm327Reports::Seen Elm327Reports::scan(std::string_view chunk)
{
    // "FULL" ends in 'L', "ERROR" in 'R', and frame text is hexadecimal: a read without
    // 'L', 'R' or '>' ends no report and holds no prompt.
    Seen seen;
    if (chunk.find_first_of("LR>") == std::string_view::npos) {
        keepTail(chunk);
        return seen;
    }
    joined_.assign(tail_);
    joined_.append(chunk);
    const std::string_view text(joined_);
    const std::size_t fresh = tail_.size(); // words ending at or before this were seen last time
    std::size_t reportEnd = fresh;
    for (std::size_t p = text.find("FULL"); p != std::string_view::npos; p = text.find("FULL", p + 1))
        if (p + 4 > fresh) {
            seen.stopReport = true;
            reportEnd = std::max(reportEnd, p + 4);
        }
    for (std::size_t p = text.find("ERROR"); p != std::string_view::npos; p = text.find("ERROR", p + 1))
        if (p + 5 > fresh && !endsWith(text, p, "<RX ") && !endsWith(text, p, "<DATA ")) {
            seen.stopReport = true;
            reportEnd = std::max(reportEnd, p + 5);
        }
    seen.prompt = text.find('>', reportEnd) != std::string_view::npos;
    keepTail(chunk);
    return seen;
}

void Elm327Reports::keepTail(std::string_view chunk)
{
    if (chunk.size() >= kTail) {
        tail_.assign(chunk.substr(chunk.size() - kTail));
        return;
    }
    tail_.append(chunk);
    if (tail_.size() > kTail)
        tail_.erase(0, tail_.size() - kTail);
}

} // namespace vcm
