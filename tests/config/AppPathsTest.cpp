#include "config/AppPaths.h"

#include "common/FileSystem.h"

#include "config/MonitorSettings.h"
#include "config/Settings.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace vcm;
using vcm::test::TempFolder;

namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> vars)
{
    return [vars = std::move(vars)](const char* name) -> std::optional<std::string> {
        const auto it = vars.find(name);
        if (it == vars.end()) return std::nullopt;
        return it->second;
    };
}

TEST(UserFolders, PlatformRules)
{
    struct Case {
        const char* what;
        Platform platform;
        std::map<std::string, std::string> env;
        std::string config;
        std::string data;
    };
    const Case cases[] = {
        {"XDG folders", Platform::Linux, {{"HOME", "/home/d"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/dat/"}},
         "/cfg/VeloxCanMoni", "/dat/VeloxCanMoni"},
        {"home fallbacks", Platform::Linux, {{"HOME", "/home/d"}}, "/home/d/.config/VeloxCanMoni",
         "/home/d/.local/share/VeloxCanMoni"},
        {"relative XDG value ignored", Platform::Linux, {{"HOME", "/home/d"}, {"XDG_CONFIG_HOME", "cfg"}},
         "/home/d/.config/VeloxCanMoni", "/home/d/.local/share/VeloxCanMoni"},
        {"nothing known", Platform::Linux, {}, "", ""},
        {"Windows", Platform::Windows, {{"APPDATA", "C:\\Users\\d\\AppData\\Roaming"}, {"LOCALAPPDATA", "C:\\L"}},
         "C:\\Users\\d\\AppData\\Roaming\\VeloxCanMoni", "C:\\L\\VeloxCanMoni"},
        {"Windows without LOCALAPPDATA", Platform::Windows, {{"APPDATA", "C:\\R\\"}}, "C:\\R\\VeloxCanMoni",
         "C:\\R\\VeloxCanMoni"},
        {"macOS", Platform::MacOS, {{"HOME", "/Users/d"}}, "/Users/d/Library/Application Support/VeloxCanMoni",
         "/Users/d/Library/Application Support/VeloxCanMoni"},
    };
    for (const Case& c : cases) {
        const UserFolders u = userFolders(c.platform, environmentOf(c.env));
        EXPECT_EQ(u.config, c.config) << c.what;
        EXPECT_EQ(u.data, c.data) << c.what;
    }
}

TEST(AppPaths, WritableProgramFolderHoldsEverything)
{
    TempFolder program;
    DiskFileSystem fs;
    const AppPaths p = resolveAppPaths(fs, program.path(), {"/nonexistent/cfg", "/nonexistent/data"});
    EXPECT_EQ(p.settingsFile, program.file("VeloxCanMoni.INI"));
    EXPECT_EQ(p.defaultSaveFolder, program.path());
}

TEST(AppPaths, UnwritableProgramFolderMovesToUserFolders)
{
    TempFolder home;
    DiskFileSystem fs;
    const UserFolders user{home.file("config/VeloxCanMoni"), home.file("share/VeloxCanMoni")};
    const AppPaths p = resolveAppPaths(fs, home.file("no-such-program-folder"), user);
    EXPECT_EQ(p.settingsFile, joinPath(user.config, "VeloxCanMoni.INI"));
    EXPECT_EQ(p.defaultSaveFolder, user.data);

    // The folders appear on demand, and the settings then go there and come back.
    ASSERT_TRUE(createAppFolders(p));
    EXPECT_TRUE(std::filesystem::is_directory(user.config));
    EXPECT_TRUE(std::filesystem::is_directory(user.data));
    MonitorSettings s = readSettings(fs, p.settingsFile, p.defaultSaveFolder);
    EXPECT_EQ(s.SavePath, user.data);
    s.PortNum = 2;
    ASSERT_TRUE(writeSettings(fs, p.settingsFile, s));
    EXPECT_EQ(readSettings(fs, p.settingsFile, p.defaultSaveFolder).PortNum, 2);
}

TEST(AppPaths, NoUserFolderKnownKeepsTheProgramFolder)
{
    DiskFileSystem fs;
    const AppPaths p = resolveAppPaths(fs, "/nonexistent/prog", {});
    EXPECT_EQ(p.settingsFile, joinPath("/nonexistent/prog", "VeloxCanMoni.INI"));
    EXPECT_EQ(p.defaultSaveFolder, "/nonexistent/prog");
}

TEST(AppPaths, EmptySavePathMeansTheDefaultFolder)
{
    const AppPaths p{"/cfg/VeloxCanMoni.INI", "/data/VeloxCanMoni"};
    MonitorSettings s;
    EXPECT_EQ(effectiveSaveFolder(s, p), "/data/VeloxCanMoni");
    s.SavePath = "/media/usb";
    EXPECT_EQ(effectiveSaveFolder(s, p), "/media/usb");
}

} // namespace
