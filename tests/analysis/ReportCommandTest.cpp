// veloxcanmoni --report run as a board without a screen runs it: no DISPLAY, no Qt
// platform chosen; the files it leaves on disk.
#include "DriveLog.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/wait.h>

namespace vcm {
namespace {

int runWithoutDisplay(const std::string& args, const test::TempFolder& folder)
{
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(VCM_PROGRAM) +
                                " --report " + args + " >" + folder.file("stdout.txt") + " 2>" + folder.file("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ReportCommand, FolderReportWithoutDisplayWritesChartsAndOnePage)
{
    test::TempFolder folder;
    std::filesystem::create_directories(folder.fs() / "logs");
    folder.write("logs/CAN_04122026_0910.csv", test::driveLog({}) + "04/12/2026;09:10:11;cut\r\n");
    folder.write("logs/CAN_05122026_0800.csv", test::driveLog({.gps = true, .decimal = ','}));
    folder.write("logs/TRAJETS.CSV", "C;;;600;20;300\r\nT;04:12:26;09:10:12;5;20;300;50,0;40;0;20;20;20;20\r\n");

    ASSERT_EQ(runWithoutDisplay(folder.file("logs") + " --out " + folder.file("out"), folder), 0)
        << test::readFile(folder.file("stderr.txt"));
    const std::string err = test::readFile(folder.file("stderr.txt"));
    EXPECT_EQ(err.find("platform plugin"), std::string::npos) << err;
    EXPECT_NE(err.find("CAN_04122026_0910.csv:8: 3 fields, expected 26"), std::string::npos) << err;

    // One chart of each kind per run, altitude and track only from the log with GPS columns.
    std::set<std::string> expected{"report.html", "trend.png", "CAN_05122026_0800-altitude.png", "CAN_05122026_0800-track.png"};
    for (const char* run : {"CAN_04122026_0910", "CAN_05122026_0800"})
        for (const char* chart : {"speed", "battery", "consumption", "engine-map", "modes"})
            expected.insert(std::string(run) + "-" + chart + ".png");
    EXPECT_EQ(folder.names("out"), std::vector(expected.begin(), expected.end()));
    EXPECT_EQ(test::readFile(folder.file("out/trend.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
    const std::string html = test::readFile(folder.file("out/report.html"));
    EXPECT_NE(html.find("<td>0.300 km</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>6.67 L/100 km</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>04/12/2026</td><td>09:10:05</td><td>0:00:05</td><td>0.3</td><td>0.02</td><td>6.67</td>"
                        "<td>20.0</td>"),
              std::string::npos);  // the run list, one line per run
    EXPECT_NE(html.find("src=\"data:image/png;base64,iVBORw0KGgo"), std::string::npos);
    EXPECT_EQ(html.find("src=\"CAN_"), std::string::npos);  // nothing but itself needed
}

TEST(ReportCommand, UnreadableInputFailsByLineAndWritesNothing)
{
    test::TempFolder folder;
    folder.write("CAN_04122026_0910.csv", "Date;Heure;vitesse\r\n1;2;3\r\n");
    EXPECT_EQ(runWithoutDisplay(folder.file("CAN_04122026_0910.csv") + " --out " + folder.file("out"), folder), 1);
    EXPECT_NE(test::readFile(folder.file("stderr.txt")).find(folder.file("CAN_04122026_0910.csv") + ":1: not a value log header"),
              std::string::npos);
    EXPECT_TRUE(folder.names("out").empty());
}

} // namespace
} // namespace vcm
