#pragma once
// A recording replayed as the adapter port would have delivered it: timed chunks of
// adapter text, read in constant memory whatever the length of the file. Three inputs,
// recognised by their content:
//   - the program's own raw log (adapter text with marker lines, see RawLogSource.h):
//     chunks exactly as received, timed by the markers' tick counts;
//   - plain adapter text of either adapter: no timing in the file, so it is paced at a
//     serial speed (500000 bit/s = 50 characters per millisecond by default);
//   - a can-utils candump log: frames timed by their stamps, turned into the adapter
//     text of the chosen form.
#include "link/canformat/AdapterText.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

enum class RecordingKind { RawLog, AdapterText, Candump };

std::string_view kindName(RecordingKind kind);
std::string_view formName(AdapterForm form);

struct RecordedChunk {
    std::int64_t timeUs = 0; // when it arrived: microseconds since 1970-01-01 UTC
    double tickMs = 0;       // the millisecond tick count of that moment, as the replay clock shows it
    std::string text;        // the adapter text of the chunk
    std::string channel;     // candump input: the interface it was received on
};

struct RecordingOptions {
    // Adapter form of the chunks: required for candump input (ELM327 when not given) and
    // for adapter text whose form cannot be recognised.
    std::optional<AdapterForm> form;
    // Pacing of plain adapter text: 10 bits per character (8N1).
    int bitsPerSecond = 500000;
    // Start of plain adapter text, or of a raw log whose markers carry no date
    // (seconds since 1970 UTC); the file's modification time when not given.
    std::optional<std::int64_t> startEpoch;
    // Candump input: the interface whose frames are replayed ("can0"); "" = the first
    // one in the file, with a note when the file holds others.
    std::string channel;
    // Candump input: one chunk per frame with its stamp to the microsecond (an export),
    // instead of one chunk per millisecond (a replay, as the adapter delivers them).
    bool exactStamps = false;
    // Receives the notes for the user (how the input is read, what was skipped).
    std::function<void(const std::string&)> note;
};

class RecordingSource {
public:
    virtual ~RecordingSource() = default;
    // The next chunk; false after the last. Throws RecordingError naming the line when
    // the input cannot be read. A file cut short (power cut) is not an error: what is
    // there is delivered and a note says where it stops.
    virtual bool next(RecordedChunk& chunk) = 0;
    virtual RecordingKind kind() const = 0;
    virtual AdapterForm form() const = 0;
    // Part of the file read so far, 0..1 (progress bar).
    virtual double fractionRead() const = 0;
    // Time from the first to the last chunk, read from the end of the file without
    // reading it all; nothing when it cannot be told.
    virtual std::optional<double> durationMs() const = 0;
};

// What a file holds, from its first bytes.
struct RecordingGuess {
    std::optional<RecordingKind> kind;
    std::optional<AdapterForm> form;
};
RecordingGuess guessRecording(std::string_view head);
// The adapter form of a text by which form's frame lines it holds more of.
std::optional<AdapterForm> guessAdapterForm(std::string_view text);

// Opens path and chooses the reader by its content; throws RecordingError.
std::unique_ptr<RecordingSource> openRecording(const std::string& path, const RecordingOptions& options);

} // namespace vcm
