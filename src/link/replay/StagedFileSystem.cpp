#include "link/replay/StagedFileSystem.h"

#include <filesystem>

namespace vcm {

std::unique_ptr<OutputFile> StagedFileSystem::create(const std::string& path)
{
    std::error_code ec;
    if (!replaceExisting_ && std::filesystem::exists(path, ec))
        throw ExistingFileError(path + " exists already: choose another folder with --out, or --force to replace it");
    const std::string part = path + ".part";
    auto file = inner_.create(part);
    if (file)
        staged_.emplace_back(path, part);
    return file;
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
