#include "sources/replay/CandumpExport.h"

#include "link/canformat/AdapterText.h"
#include "link/canformat/CandumpLog.h"
#include "sources/replay/RecordingError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace vcm {
namespace {

bool syncToDisk(std::FILE* f)
{
#if defined(_WIN32)
    (void)f;
    return true;
#else
    return ::fsync(fileno(f)) == 0;
#endif
}

} // namespace

ExportSummary exportCandump(RecordingSource& source, const std::string& path, std::string_view interface,
                            const std::function<void(double)>& progress)
{
    const std::string part = path + ".part";
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out)
        throw RecordingError(recordingMessage(path, 0, std::string("cannot write: ") + std::strerror(errno)));
    ExportSummary summary;
    try {
        AdapterFrameScanner scanner(source.form());
        RecordedChunk chunk;
        std::string lines;
        std::size_t chunks = 0;
        while (source.next(chunk)) {
            lines.clear();
            scanner.feed(chunk.text, [&](const CanFrame& frame) {
                appendCandumpLine(lines, chunk.timeUs, chunk.channel.empty() ? interface : std::string_view(chunk.channel), frame);
                ++summary.frames;
            });
            if (!lines.empty() && std::fwrite(lines.data(), 1, lines.size(), out) != lines.size())
                throw RecordingError(recordingMessage(path, 0, std::string("write failed: ") + std::strerror(errno)));
            if (progress && ++chunks % 4096 == 0)
                progress(source.fractionRead());
        }
        summary.otherLines = scanner.otherLines();
        // On the disk before the rename: a power cut leaves the old file or the whole new one.
        if (std::fflush(out) != 0 || !syncToDisk(out))
            throw RecordingError(recordingMessage(path, 0, std::string("write failed: ") + std::strerror(errno)));
        if (std::fclose(out) != 0) {
            out = nullptr;
            throw RecordingError(recordingMessage(path, 0, std::string("write failed: ") + std::strerror(errno)));
        }
        out = nullptr;
        std::error_code ec;
        std::filesystem::rename(part, path, ec);
        if (ec)
            throw RecordingError(recordingMessage(path, 0, "cannot rename the finished export into place: " + ec.message()));
    } catch (...) {
        if (out)
            std::fclose(out);
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
    if (progress)
        progress(1.0);
    return summary;
}

} // namespace vcm
