// Where the settings file and the logs go on each platform, and the move to per-user
// folders when the program folder cannot be written.
#include "config/AppPaths.h"

#include "common/FileSystem.h"
#include "config/Settings.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

using namespace vcm;
using vcm::test::TempFolder;

namespace {

TEST(UserFolders, PlatformRules)
{
    // Each case: the platform, its environment, the config and data folders.
    const std::tuple<Platform, std::map<std::string, std::string>, std::string, std::string> cases[] = {
        {Platform::Linux, {{"HOME", "/home/d"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/dat/"}},
         "/cfg/VeloxCanMoni", "/dat/VeloxCanMoni"},
        {Platform::Linux, {{"HOME", "/home/d"}, {"XDG_CONFIG_HOME", "relative"}},
         "/home/d/.config/VeloxCanMoni", "/home/d/.local/share/VeloxCanMoni"},
        {Platform::Linux, {}, "", ""},
        {Platform::Windows, {{"APPDATA", "C:\\R"}, {"LOCALAPPDATA", "C:\\L\\"}}, "C:\\R\\VeloxCanMoni", "C:\\L\\VeloxCanMoni"},
        {Platform::Windows, {{"APPDATA", "C:\\R"}}, "C:\\R\\VeloxCanMoni", "C:\\R\\VeloxCanMoni"},
        {Platform::MacOs, {{"HOME", "/Users/d"}}, "/Users/d/Library/Application Support/VeloxCanMoni",
         "/Users/d/Library/Application Support/VeloxCanMoni"},
    };
    for (const auto& [platform, env, config, data] : cases) {
        const UserFolders u = userFolders(platform, [&env](const char* name) -> std::optional<std::string> {
            const auto it = env.find(name);
            return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
        EXPECT_EQ(std::tie(u.config, u.data), std::tie(config, data));
    }
}

TEST(AppPaths, WritableProgramFolderHoldsEverything)
{
    TempFolder program;
    DiskFileSystem fs;
    const AppPaths p = resolveAppPaths(fs, program.path(), {"/nonexistent/cfg", "/nonexistent/data"});
    EXPECT_EQ(p.settingsFile, program.file("VeloxCanMoni.INI"));
    EXPECT_EQ(p.defaultSaveFolder, program.path());
    // With no per-user folder known, even an unusable program folder is kept.
    EXPECT_EQ(resolveAppPaths(fs, "/nonexistent/prog", {}).settingsFile, joinPath("/nonexistent/prog", "VeloxCanMoni.INI"));
}

TEST(AppPaths, UnwritableProgramFolderMovesToUserFolders)
{
    TempFolder home;
    DiskFileSystem fs;
    const UserFolders user{home.file("config/VeloxCanMoni"), home.file("share/VeloxCanMoni")};
    const AppPaths p = resolveAppPaths(fs, home.file("no-such-program-folder"), user);
    EXPECT_EQ(p.settingsFile, joinPath(user.config, "VeloxCanMoni.INI"));
    EXPECT_EQ(p.defaultSaveFolder, user.data);

    // The folders appear on demand, and the settings, logs in the data folder, then go
    // there and come back (read with another default to show they come from the file).
    ASSERT_TRUE(createAppFolders(p));
    EXPECT_TRUE(std::filesystem::is_directory(user.data));
    ASSERT_TRUE(writeSettings(fs, p.settingsFile, readSettings(fs, p.settingsFile, p.defaultSaveFolder)));
    EXPECT_EQ(readSettings(fs, p.settingsFile, "/elsewhere").SavePath, user.data);
}

} // namespace
