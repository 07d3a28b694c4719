// The real disk under faults: what a failed read says, that no read grows without
// bound, and that a write the disk cannot take whole leaves nothing of itself behind.
#include "common/FileSystem.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <tuple>

#include <sys/resource.h>

using namespace vcm;
using namespace vcm::test;

TEST(DiskFileSystem, ReadsAreBoundedAndFailuresSayWhy)
{
    TempFolder folder;
    const std::string small = folder.write("small.ini", "[Comm]\r\n");
    const std::string big = folder.write("big.csv", std::string(5000, 'x'));
    std::filesystem::create_directory(folder.file("TRAJETS.CSV"));
    const std::tuple<std::string, FileText::Status, std::string> cases[] = {
        {small, FileText::Status::Read, ""},
        {folder.file("missing.ini"), FileText::Status::Missing, "No such file or directory"},
        {folder.file("TRAJETS.CSV"), FileText::Status::Failed, "Is a directory"},
        {big, FileText::Status::Failed, "larger than 4096 bytes"},
        {"/dev/zero", FileText::Status::Failed, "larger than 4096 bytes"}, // never ends: stopped at the bound
    };
    DiskFileSystem disk;
    for (const auto& [path, status, reason] : cases) {
        const FileText t = disk.read(path, 4096);
        EXPECT_EQ(std::tie(t.status, t.reason, t.text),
                  std::tuple(status, reason, status == FileText::Status::Read ? "[Comm]\r\n" : ""))
            << path;
    }
}

// A file size limit makes the kernel take part of a write and refuse the rest, as a
// full disk does.
TEST(DiskFileSystem, WriteTheDiskCannotTakeWholeLeavesNoPartOfIt)
{
    TempFolder folder;
    DiskFileSystem disk;
    auto file = disk.create(folder.file("CAN_04122026_0910.csv"));
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->write("header\r\n"));

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 20;
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool fits = file->write("row 1\r\n");         // 15 bytes in all
    const bool torn = file->write("a longer row 2\r\n"); // would end at byte 31
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(fits);
    EXPECT_FALSE(torn);
    EXPECT_EQ(file->error(), "File too large");
    ASSERT_TRUE(file->write("row 3\r\n")); // goes on where the last whole row ended
    file.reset();
    EXPECT_EQ(folder.read("CAN_04122026_0910.csv"), "header\r\nrow 1\r\nrow 3\r\n");
}
