#pragma once
// A profile (INI) file with the rules of the Windows profile functions
// GetPrivateProfileStringA / WritePrivateProfileStringA, so that a settings file made by
// hand or by an earlier version reads the same here:
//
//   [Comm]                      <- section line; names match without regard to case
//   Interface = CANUSB          <- key=value; spaces around key, '=' and value are dropped
//   PortNum M=2                 <- a hand-added key: kept, in place, by every write
//   ; a comment                 <- kept as it is
//   [comm]                      <- a second "Comm" section: lookups use the first match
//
//   get("COMM", "interface", "ELM327", 20) -> "CANUSB"
//   get("Comm", "BPS", "500000", 20)      -> "500000" (missing key: the default)
//   set("Comm", "BPS", "115200")          -> "BPS=115200" added after "PortNum M=2"
//   set("GPS", "EnableGPS", "True")       -> "[GPS]" and "EnableGPS=True" added at the end
//
// A value wrapped in matching single or double quotes reads without them. Bytes above
// 127 pass through untouched (the file is 8-bit text). Lines are read up to LF or CR LF
// and always written with CR LF; a UTF-8 byte-order mark is skipped and kept.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vcm {

class FileSystem;

class ProfileFile {
public:
    ProfileFile() = default;
    static ProfileFile parse(std::string_view text);
    // A settings file holds a few hundred bytes; anything much larger is not one.
    static constexpr std::size_t MaxFileBytes = 1 << 20;
    // The file's content, or an empty profile when the file is missing or unreadable.
    static ProfileFile load(FileSystem& fs, const std::string& path);
    // The file's content (empty when missing); nothing when it exists but cannot be
    // read, with "could not read <path>: <reason>" in error. A file that could not be
    // read is never written over by one built from nothing.
    static std::optional<ProfileFile> tryLoad(FileSystem& fs, const std::string& path, std::string& error);

    // The value of key in section, else defaultText; either is taken up to its first NUL
    // and cut to bufferSize - 1 characters, as a caller's buffer of that size would be.
    std::string get(std::string_view section, std::string_view key, std::string_view defaultText,
                    std::size_t bufferSize) const;
    // Replaces the key's value in place, or adds the key at the end of its section, or
    // adds the section at the end of the file. The value is cut at a line break or NUL
    // so that it can never start a line of its own.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Every key=value of a section in file order (first matching section only).
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

    std::string text() const;
    // Writes the whole file through a new file renamed over the old one.
    bool save(FileSystem& fs, const std::string& path) const;

private:
    enum class Kind { Section, Key, Other };
    struct Line {
        std::string raw;  // the line as in the file, without its line end
        Kind kind = Kind::Other;
        std::string name; // section or key name, trimmed
    };
    static Line classify(std::string raw);
    static std::string valueOf(const Line& line);
    // Index of the first key line matching section/key, or npos.
    std::size_t findKey(std::string_view section, std::string_view key) const;
    std::size_t findSection(std::string_view section) const;

    std::vector<Line> lines_;
    bool byteOrderMark_ = false;
};

} // namespace vcm
