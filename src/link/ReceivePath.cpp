#include "link/ReceivePath.h"

#include "common/Format.h"
#include "decode/Units.h"
#include "logging/RunLog.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vcm {
namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr char Bel = '\a';

bool contains(std::string_view text, char what) { return text.find(what) != std::string_view::npos; }

// The ELM327 answers a command with a prompt; the blank stop command too.
bool expectsElm327Prompt(std::string_view command)
{
    if (command.substr(0, 2) == "AT")
        return true;
    return !command.empty() && command.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// A whole field that is a decimal number ("12", "-3.5", " 7 "); nothing else.
bool parseNumber(std::string_view field, double& value)
{
    const std::string text(trimmed(field));
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::int32_t toInt32(double v)
{
    const double r = roundHalfEven(v);
    if (r > 2147483647.0)
        return 2147483647;
    if (r < -2147483648.0)
        return -2147483647 - 1;
    return static_cast<std::int32_t>(r);
}

} // namespace

ReceivePath::ReceivePath(LinkState& link, const MonitorSettings& settings, RunLog& log, SerialPort& adapter,
                         SerialPort& aux, Decode decode, Activity activity)
    : link_(link), settings_(settings), log_(log), adapter_(adapter), aux_(aux), decode_(std::move(decode)),
      activity_(std::move(activity))
{
}

void ReceivePath::clearBuffers()
{
    reports_.clear();
    auxLineBuffer_.clear();
}

void ReceivePath::onAdapterReceive()
{
    const std::string chunk = adapter_.readAll();
    if (chunk.empty())
        return;
    if (log_.isOpen() && settings_.SuperLogFile)
        log_.writeRaw(chunk);

    if (settings_.UseElm327)
        recogniseElm327Reply(chunk);
    else
        recogniseCanUsbReply(chunk);

    if (++rxEventCount_ >= BlinkEvery) {
        activity_();
        rxEventCount_ = 0;
    }
}

void ReceivePath::recogniseElm327Reply(std::string_view chunk)
{
    std::string_view forDecoder = chunk;
    if (link_.ReplyState == reply::Awaited && expectsElm327Prompt(link_.LastCommand)) {
        // The adapter's "?" comes with its prompt ("?\r\r>"): it decides first.
        if (contains(chunk, '?')) {
            forDecoder = {};
            link_.ReplyState = reply::Failed;
        } else if (contains(chunk, '>')) {
            forDecoder = {};
            link_.ReplyState = reply::Answered;
        }
    }
    // A report that ended monitoring is kept until monitoring is started again, by the
    // prompt that follows it (often in a read of its own) or by the main tick.
    const auto seen = reports_.scan(chunk);
    if (seen.stopReport)
        link_.AdapterErrorSeen = true;
    if (link_.AdapterErrorSeen && seen.prompt && restartMonitoring_)
        restartMonitoring_();

    decode_(forDecoder);
}

void ReceivePath::recogniseCanUsbReply(std::string_view chunk)
{
    // Every CANUSB reply ends in CR, an error is a BEL.
    if (contains(chunk, '\r'))
        link_.ReplyState = reply::Answered;
    else if (link_.ReplyState == reply::Awaited && contains(chunk, Bel))
        link_.ReplyState = reply::Failed;
    // Every chunk goes to the decoder: a frame's tail often arrives in a read of its own.
    decode_(chunk);
}

void ReceivePath::onAdapterError(PortError)
{
    adapter_.discardInput();
    reports_.clear();
}

void ReceivePath::onAuxReceive()
{
    auxLineBuffer_ += aux_.readAll();
    std::size_t end;
    while ((end = auxLineBuffer_.find(CrLf)) != std::string::npos) {
        takeAuxLine(std::string_view(auxLineBuffer_).substr(0, end));
        auxLineBuffer_.erase(0, end + CrLf.size());
    }
    // A line that never ends is not kept growing.
    if (auxLineBuffer_.size() > 4096)
        auxLineBuffer_.clear();
}

void ReceivePath::takeAuxLine(std::string_view line)
{
    std::array<std::string_view, 4> fields;
    std::size_t count = 0, start = 0;
    for (;;) {
        const auto comma = line.find(',', start);
        const auto field = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (count < fields.size())
            fields[count] = field;
        ++count;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (count != fields.size())
        return;
    const bool usUnits = !settings_.MetricUnits;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        double v = 0;
        if (!parseNumber(fields[i], v))
            continue;
        std::int32_t stored = toInt32(v);
        if (usUnits && i == 1)
            stored = toInt32(units::kmToMiles(stored));
        else if (usUnits && i == 2)
            stored = toInt32(units::litresToGallons(stored));
        auxValues_[i] = stored;
    }
}

void ReceivePath::onAuxError(PortError)
{
    aux_.discardInput();
    auxLineBuffer_.clear();
}

} // namespace vcm
