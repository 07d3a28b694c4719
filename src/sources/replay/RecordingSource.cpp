#include "sources/replay/RecordingSource.h"

#include "common/Format.h"
#include "link/canformat/AdapterText.h"
#include "link/canformat/CandumpLog.h"
#include "sources/replay/CandumpSource.h"
#include "sources/replay/FileReader.h"
#include "sources/replay/PacedTextSource.h"
#include "sources/replay/RawLogSource.h"
#include "sources/replay/LocalTime.h"
#include "sources/replay/RecordingError.h"


#include <algorithm>

namespace vcm {

std::string_view kindName(RecordingKind kind)
{
    switch (kind) {
    case RecordingKind::RawLog: return "raw log";
    case RecordingKind::AdapterText: return "adapter text";
    case RecordingKind::Candump: return "candump log";
    }
    return "";
}

std::string_view formName(AdapterForm form)
{
    return form == AdapterForm::Elm327 ? "ELM327" : "CANUSB";
}

std::optional<AdapterForm> guessAdapterForm(std::string_view text)
{
    std::size_t elm = 0, canusb = 0;
    AdapterFrameScanner elmScan(AdapterForm::Elm327), canusbScan(AdapterForm::CanUsb);
    elmScan.feed(text, [&](const CanFrame&) { ++elm; });
    canusbScan.feed(text, [&](const CanFrame&) { ++canusb; });
    if (elm == canusb)
        return std::nullopt;
    return elm > canusb ? AdapterForm::Elm327 : AdapterForm::CanUsb;
}

namespace {

// The received text at the start of a raw log: the chunks with their markers taken out.
std::string receivedTextOfRawLog(std::string_view head)
{
    std::string text;
    std::size_t markerLength = 0;
    while (auto prefix = rawPrefixLength(head, markerLength)) {
        const auto marker = parseRawMarker(head.substr(*prefix, markerLength - 2));
        const std::size_t rest = std::min(marker->length - std::min(marker->length, *prefix),
                                          head.size() - *prefix - markerLength);
        text.append(head.substr(0, *prefix));
        text.append(head.substr(*prefix + markerLength, rest));
        head.remove_prefix(*prefix + markerLength + rest);
    }
    return text;
}

} // namespace

RecordingGuess guessRecording(std::string_view head)
{
    RecordingGuess g;
    // candump: the first line that is neither blank nor a comment is a stamped frame.
    forEachCandumpLine(head, [&](const CandumpLine& line) {
        if (line.stamped())
            g.kind = RecordingKind::Candump;
        return line.kind == CandumpLine::Kind::Blank;
    });
    if (g.kind)
        return g;
    std::size_t markerLength = 0;
    if (rawPrefixLength(head, markerLength)) {
        g.kind = RecordingKind::RawLog;
        g.form = guessAdapterForm(receivedTextOfRawLog(head));
        return g;
    }
    g.form = guessAdapterForm(head);
    if (!g.kind && g.form)
        g.kind = RecordingKind::AdapterText;
    return g;
}

std::unique_ptr<RecordingSource> openRecording(const std::string& path, const RecordingOptions& options)
{
    std::string head;
    {
        FileReader probe(path);
        head.assign(probe.peek(1 << 16));
    }
    if (head.empty())
        throw RecordingError(recordingMessage(path, 0, "the file is empty"));
    const RecordingGuess guess = guessRecording(head);
    auto note = [&](const std::string& text) {
        if (options.note)
            options.note(text);
    };
    if (!guess.kind)
        throw RecordingError(recordingMessage(path, 1, "not a recording this program can read (raw log with markers, "
                                                       "ELM327 or CANUSB text, or candump log)"));
    switch (*guess.kind) {
    case RecordingKind::Candump: {
        const AdapterForm form = options.form.value_or(AdapterForm::Elm327);
        note(path + ": candump log, replayed as " + std::string(formName(form)) + " text"
             + (options.form ? "" : " (--adapter canusb to change)"));
        return std::make_unique<CandumpSource>(path, form, options);
    }
    case RecordingKind::RawLog:
    case RecordingKind::AdapterText: {
        AdapterForm form;
        if (guess.form) {
            form = *guess.form;
            if (options.form && *options.form != form)
                note(path + ": the text looks like " + std::string(formName(form)) + " text; read as "
                     + std::string(formName(*options.form)) + " as asked");
            form = options.form.value_or(form);
        } else if (options.form) {
            form = *options.form;
        } else {
            throw RecordingError(recordingMessage(path, 0, "cannot tell the adapter from the text: give --adapter elm327 or --adapter canusb"));
        }
        if (*guess.kind == RecordingKind::RawLog) {
            note(path + ": raw log, " + std::string(formName(form)) + " adapter, timed by its markers");
            return std::make_unique<RawLogSource>(path, form, options);
        }
        const std::int64_t start = options.startEpoch.value_or(fileModificationEpoch(path));
        note(path + ": " + std::string(formName(form)) + " text without time marks, paced at "
             + std::to_string(options.bitsPerSecond) + " bit/s (" + formatGeneral(options.bitsPerSecond / 10000.0, '.')
             + " characters per millisecond)");
        return std::make_unique<PacedTextSource>(path, form, options.bitsPerSecond, start);
    }
    }
    return nullptr;
}

} // namespace vcm
