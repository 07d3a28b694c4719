#include "app/WindowlessModes.h"

#include "app/DecodeCommand.h"
#include "app/HeadlessCommand.h"
#include "app/ProgramPaths.h"
#include "common/FileSystem.h"
#include "config/Settings.h"

#include <QLocale>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define VCM_ISATTY _isatty
#define VCM_STDERR 2
#else
#include <unistd.h>
#define VCM_ISATTY isatty
#define VCM_STDERR STDERR_FILENO
#endif

namespace vcm {

namespace {

std::string programFolder(const char* argv0)
{
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(std::filesystem::path(argv0), ec);
    return ec ? std::string(".") : p.parent_path().string();
}

std::string saveFolderOf(const MonitorSettings& settings, const ProgramPaths& paths)
{
    return settings.SavePath.empty() ? paths.defaultSaveFolder : settings.SavePath;
}

void tellSettingsProblem(FileSystem& disk, const std::string& settingsFile)
{
    if (const std::string problem = settingsReadProblem(disk, settingsFile); !problem.empty())
        std::cerr << "veloxcanmoni: " << problem << "\n";
}

int replay(int argc, char** argv, const std::vector<std::string>& args, const WindowReplayRunner& windowReplay)
{
    std::string error;
    const auto line = parseReplayCommandLine(args, error);
    if (!line) {
        std::cerr << "veloxcanmoni: " << error << "\n" << kReplayUsage;
        return 2;
    }
    if (line->gui && !windowReplay) {
        std::cerr << "veloxcanmoni: --gui plays into the dashboard: run it with veloxcanmoni, not this program\n";
        return 2;
    }
    DiskFileSystem disk;
    const ProgramPaths paths = programPaths(disk, programFolder(argv[0]), false);
    ReplayEnvironment env;
    tellSettingsProblem(disk, paths.settingsFile);
    env.settings = readSettings(disk, paths.settingsFile, paths.defaultSaveFolder);
    env.saveFolder = saveFolderOf(env.settings, paths);
    env.progressBar = VCM_ISATTY(VCM_STDERR) != 0;
    // Numbers in the trip file as the live program writes them on this system.
    const QString point = QLocale::system().decimalPoint();
    env.decimalSeparator = point.isEmpty() ? '.' : point.at(0).toLatin1();
    if (line->gui)
        return windowReplay(argc, argv, *line, env);
    return runReplayCommand(*line, env, std::cout, std::cerr);
}

int headless(int argc, char** argv, const std::vector<std::string>& args)
{
    const auto options = parseHeadlessArgs(args);
    if (!options) {
        std::cerr << "usage: veloxcanmoni --headless [--settings FILE] [--status-every SECONDS]\n";
        return 2;
    }
    DiskFileSystem disk;
    ProgramPaths paths = programPaths(disk, programFolder(argv[0]), false);
    if (!options->settingsFile.empty())
        paths.settingsFile = options->settingsFile;
    HeadlessSetup setup;
    tellSettingsProblem(disk, paths.settingsFile);
    setup.settings = readSettings(disk, paths.settingsFile, paths.defaultSaveFolder);
    setup.portMap = readPortMap(disk, paths.settingsFile);
    setup.settingsFile = paths.settingsFile;
    setup.saveFolder = saveFolderOf(setup.settings, paths);
    setup.defaultSaveFolder = paths.defaultSaveFolder;
    setup.statusEverySeconds = options->statusEverySeconds;
    return runHeadless(argc, argv, setup);
}

} // namespace

std::optional<int> runWindowlessMode(int argc, char** argv, const WindowReplayRunner& windowReplay)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return std::nullopt;
    if (args[0] == "--decode") {
        DiskFileSystem files;
        return runDecodeCommand({args.begin() + 1, args.end()}, files, std::cout, std::cerr);
    }
    if (args[0] == "--replay" || args[0] == "--export-candump")
        return replay(argc, argv, args, windowReplay);
    if (args[0] == "--headless")
        return headless(argc, argv, args);
    return std::nullopt;
}

} // namespace vcm
