#include "link/replay/StagedFileSystem.h"

#include <filesystem>

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
                *firstFailure_ = path_;
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
    std::error_code ec;
    if (!replaceExisting_ && std::filesystem::exists(path, ec))
        throw ExistingFileError(path + " exists already: choose another folder with --out, or --force to replace it");
    const std::string part = path + ".part";
    auto file = inner_.create(part);
    if (!file)
        return nullptr;
    staged_.emplace_back(path, part);
    return std::make_unique<GatheringFile>(std::move(file), path, firstWriteFailure_);
}

std::optional<std::string> StagedFileSystem::readAll(const std::string& path)
{
    if (auto held = replacements_.find(path); held != replacements_.end())
        return held->second;
    return inner_.readAll(path);
}

bool StagedFileSystem::replaceAtomically(const std::string& path, std::string_view content)
{
    replacements_[path] = std::string(content);
    return true;
}

bool StagedFileSystem::commit()
{
    if (!firstWriteFailure_->empty()) {
        error_ = "cannot write " + *firstWriteFailure_ + " (disk full?)";
        return false;
    }
    for (const auto& [final, part] : staged_) {
        std::error_code ec;
        std::filesystem::rename(part, final, ec);
        if (ec) {
            error_ = "cannot rename " + part + " to " + final + ": " + ec.message();
            return false;
        }
    }
    committed_ = true;
    for (const auto& [path, content] : replacements_) {
        if (!inner_.replaceAtomically(path, content)) {
            error_ = "cannot write " + path;
            return false;
        }
    }
    return true;
}

void StagedFileSystem::discard()
{
    if (committed_)
        return;
    for (const auto& [final, part] : staged_) {
        std::error_code ec;
        std::filesystem::remove(part, ec);
    }
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
