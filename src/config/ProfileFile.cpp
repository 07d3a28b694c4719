#include "ProfileFile.h"

#include "common/FileSystem.h"

#include <algorithm>

namespace vcm {
namespace {

constexpr std::string_view kWhitespace = " \t\r\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kWhitespace);
    return s.substr(first, last - first + 1);
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Profile names compare without regard to ASCII case; other bytes compare exactly.
bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view upToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::string_view cutToBuffer(std::string_view s, std::size_t bufferSize)
{
    s = upToNul(s);
    if (bufferSize == 0) return {};
    return s.substr(0, std::min(s.size(), bufferSize - 1));
}

// A written value or name must stay on its line.
std::string_view singleLine(std::string_view s) { return s.substr(0, s.find_first_of(std::string_view("\r\n\0", 3))); }

} // namespace

ProfileFile::Line ProfileFile::classify(std::string raw)
{
    Line line;
    const std::string_view body = trim(raw);
    if (!body.empty() && body.front() == '[') {
        const auto close = body.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = Kind::Section;
            line.name = std::string(trim(body.substr(1, close - 1)));
        }
    } else if (!body.empty() && body.front() != ';') {
        const auto eq = body.find('=');
        if (eq != std::string_view::npos) {
            line.kind = Kind::Key;
            line.name = std::string(trim(body.substr(0, eq)));
        }
    }
    line.raw = std::move(raw);
    return line;
}

std::string ProfileFile::valueOf(const Line& line)
{
    const std::string_view body = trim(line.raw);
    std::string_view value = trim(body.substr(body.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

ProfileFile ProfileFile::parse(std::string_view text)
{
    ProfileFile profile;
    if (text.starts_with(kByteOrderMark)) {
        profile.byteOrderMark_ = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto lf = text.find('\n');
        std::string_view raw = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        profile.lines_.push_back(classify(std::string(raw)));
    }
    return profile;
}

ProfileFile ProfileFile::load(FileSystem& fs, const std::string& path)
{
    std::string error;
    return tryLoad(fs, path, error).value_or(ProfileFile{});
}

std::optional<ProfileFile> ProfileFile::tryLoad(FileSystem& fs, const std::string& path, std::string& error)
{
    // A replacement a kill interrupted: the file itself is whole, old or new.
    if (fs.exists(path + ".new"))
        fs.remove(path + ".new");
    const FileText file = fs.read(path, MaxFileBytes);
    if (file.status == FileText::Status::Failed) {
        error = fileMessage("could not read", path, file.reason);
        return std::nullopt;
    }
    return file.read() ? parse(file.text) : ProfileFile{};
}

std::size_t ProfileFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section)) return i;
    return std::string::npos;
}

std::size_t ProfileFile::findKey(std::string_view section, std::string_view key) const
{
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key && sameName(lines_[i].name, key)) return i;
    return std::string::npos;
}

std::string ProfileFile::get(std::string_view section, std::string_view key, std::string_view defaultText,
                             std::size_t bufferSize) const
{
    const std::size_t at = findKey(trim(section), trim(key));
    if (at == std::string::npos) return std::string(cutToBuffer(defaultText, bufferSize));
    // A lone CR ends the value, and what is left is trimmed again after the cut: what
    // is read is what a write of it keeps.
    return std::string(trim(cutToBuffer(singleLine(valueOf(lines_[at])), bufferSize)));
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view value)
{
    section = trim(singleLine(section));
    key = trim(singleLine(key));
    value = singleLine(value);

    const std::size_t at = findKey(section, key);
    if (at != std::string::npos) {
        // The key keeps the spelling it has in the file ("SuperLogFile" stays as typed).
        lines_[at] = classify(lines_[at].name + "=" + std::string(value));
        return;
    }
    Line added = classify(std::string(key) + "=" + std::string(value));
    const std::size_t header = findSection(section);
    if (header == std::string::npos) {
        lines_.push_back(classify("[" + std::string(section) + "]"));
        lines_.push_back(std::move(added));
        return;
    }
    // After the section's last non-blank line, so blank lines before the next section stay there.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (!trim(lines_[i].raw).empty()) insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(added));
}

std::vector<std::pair<std::string, std::string>> ProfileFile::entries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    const std::size_t header = findSection(trim(section));
    if (header == std::string::npos) return out;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key) out.emplace_back(lines_[i].name, valueOf(lines_[i]));
    return out;
}

std::string ProfileFile::text() const
{
    std::string out;
    if (byteOrderMark_) out += kByteOrderMark;
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

bool ProfileFile::save(FileSystem& fs, const std::string& path) const { return fs.replaceAtomically(path, text()); }

} // namespace vcm
