#include "RunFiles.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace vcm {
namespace {

std::string baseName(const std::string& path)
{
    const auto at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

// yyyymmddhhnn from "CAN_ddmmyyyy_hhnn..."; "" when the name is not of that form.
std::string openingKey(const std::string& path)
{
    const std::string n = baseName(path);
    if (n.size() < 17 || n.compare(0, 4, "CAN_") != 0 || n[12] != '_') return {};
    for (std::size_t i : {4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 13u, 14u, 15u, 16u})
        if (n[i] < '0' || n[i] > '9') return {};
    return n.substr(8, 4) + n.substr(6, 2) + n.substr(4, 2) + n.substr(13, 4);
}

bool endsWithCsv(const std::string& n)
{
    if (n.size() < 4) return false;
    std::string ext = n.substr(n.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".csv";
}

} // namespace

bool isValueLogName(const std::string& fileName)
{
    return !openingKey(fileName).empty() && endsWithCsv(fileName);
}

void sortByOpeningTime(std::vector<std::string>& paths)
{
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        const std::string ka = openingKey(a), kb = openingKey(b);
        if (ka.empty() || kb.empty()) return !ka.empty() && kb.empty();
        return std::tie(ka, a) < std::tie(kb, b);
    });
}

RunRead readRunAt(FileSystem& fs, const std::vector<std::string>& paths, std::size_t index)
{
    RunRead read;
    read.result = readValueLog(fs, paths.at(index));
    read.filesUsed = 1;
    if (!read.result.run) return read;
    RunData& run = *read.result.run;
    while (run.rowsInLastFile == RolloverRows && index + read.filesUsed < paths.size()) {
        LogReadResult next = readValueLog(fs, paths[index + read.filesUsed]);
        if (!next.run || !joinRollover(run, std::move(*next.run))) break;
        read.result.problems.insert(read.result.problems.end(), next.problems.begin(), next.problems.end());
        ++read.filesUsed;
    }
    return read;
}

} // namespace vcm
