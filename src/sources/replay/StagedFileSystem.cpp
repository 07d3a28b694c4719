#include "sources/replay/StagedFileSystem.h"

namespace vcm {

namespace {

// A staged file is seen by nobody before commit(), so handing each row to the operating
// system as it is written protects nothing: the rows are gathered into large writes.
// A failed write is noted for commit(), which then refuses to put the file in place.
class GatheringFile final : public OutputFile {
public:
    GatheringFile(std::unique_ptr<OutputFile> inner, std::string path, std::shared_ptr<std::string> firstFailure)
        : inner_(std::move(inner)), path_(std::move(path)), firstFailure_(std::move(firstFailure))
    {
        buffer_.reserve(kGather);
    }
    ~GatheringFile() override { flush(); }
    GatheringFile(const GatheringFile&) = delete;
    GatheringFile& operator=(const GatheringFile&) = delete;

    bool write(std::string_view bytes) override
    {
        if (failed_)
            return false;
        buffer_.append(bytes);
        return buffer_.size() < kGather || flush();
    }

private:
    static constexpr std::size_t kGather = 1 << 16;

    bool flush()
    {
        if (!failed_ && !buffer_.empty() && !inner_->write(buffer_)) {
            failed_ = true;
            if (firstFailure_->empty())
                *firstFailure_ = fileMessage("could not write", path_, inner_->error());
        }
        buffer_.clear();
        return !failed_;
    }

    std::unique_ptr<OutputFile> inner_;
    std::string path_;
    std::shared_ptr<std::string> firstFailure_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<OutputFile> StagedFileSystem::create(const std::string& path)
{
    if (!replaceExisting_ && inner_.exists(path))
        throw ExistingFileError(path + " exists already: choose another folder with --out, or --force to replace it");
    const std::string part = path + ".part";
    auto file = inner_.create(part);
    if (!file) {
        if (error_.empty())
            error_ = fileMessage("could not create", part, inner_.lastError());
        return nullptr;
    }
    staged_.emplace_back(path, part);
    return std::make_unique<GatheringFile>(std::move(file), path, firstWriteFailure_);
}

FileText StagedFileSystem::read(const std::string& path, std::size_t maxBytes)
{
    if (auto held = replacements_.find(path); held != replacements_.end())
        return {FileText::Status::Read, held->second, {}};
    return inner_.read(path, maxBytes);
}

bool StagedFileSystem::replaceAtomically(const std::string& path, std::string_view content)
{
    replacements_[path] = std::string(content);
    return true;
}

bool StagedFileSystem::commit()
{
    if (!firstWriteFailure_->empty()) {
        error_ = *firstWriteFailure_;
        return false;
    }
    if (!error_.empty())
        return false;
    // The trip file first, the first value log last: whatever a kill interrupts, the
    // value log that makes a re-run refuse only exists once everything else is in place,
    // and a re-run finds the trip line already stored and does not add it twice.
    for (const auto& [path, content] : replacements_) {
        if (!inner_.replaceAtomically(path, content)) {
            error_ = fileMessage("could not write", path, inner_.lastError());
            return false;
        }
    }
    committed_ = true;
    for (auto it = staged_.rbegin(); it != staged_.rend(); ++it) {
        const auto& [final, part] = *it;
        if (!inner_.moveIntoPlace(part, final)) {
            error_ = "could not rename " + part + " to " + final + ": " + inner_.lastError();
            return false;
        }
    }
    return true;
}

void StagedFileSystem::discard()
{
    if (committed_)
        return;
    for (const auto& [final, part] : staged_)
        inner_.remove(part);
    staged_.clear();
    replacements_.clear();
}

std::vector<std::string> StagedFileSystem::files() const
{
    std::vector<std::string> names;
    for (const auto& [final, part] : staged_)
        names.push_back(final);
    for (const auto& [path, content] : replacements_)
        names.push_back(path);
    return names;
}

} // namespace vcm
