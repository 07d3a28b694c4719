#include "app/WindowlessModes.h"

#include "app/DecodeCommand.h"
#include "app/HeadlessCommand.h"
#include "app/ProgramPaths.h"
#include "common/FileSystem.h"
#include "config/Settings.h"
#include "sources/replay/LiveCandump.h"

#include <QLocale>

#include <filesystem>
#include <iostream>
#include <string>

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

int replay(int argc, char** argv, const ReplayCommandLine& line, const WindowReplayRunner& windowReplay)
{
    if (line.gui && !windowReplay) {
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
    if (line.gui)
        return windowReplay(argc, argv, line, env);
    return runReplayCommand(line, env, std::cout, std::cerr);
}

int headless(int argc, char** argv, const HeadlessOptions& options)
{
    DiskFileSystem disk;
    ProgramPaths paths = programPaths(disk, programFolder(argv[0]), false);
    if (!options.settingsFile.empty())
        paths.settingsFile = options.settingsFile;
    HeadlessSetup setup;
    tellSettingsProblem(disk, paths.settingsFile);
    setup.settings = readSettings(disk, paths.settingsFile, paths.defaultSaveFolder);
    setup.portMap = readPortMap(disk, paths.settingsFile);
    setup.settingsFile = paths.settingsFile;
    setup.saveFolder = saveFolderOf(setup.settings, paths);
    setup.defaultSaveFolder = paths.defaultSaveFolder;
    setup.statusEverySeconds = options.statusEverySeconds;
    if (!options.liveCandump.empty())
        routeAdapterToCandump(setup.portMap, setup.settings, options.liveCandump);
    return runHeadless(argc, argv, setup);
}

} // namespace

void routeAdapterToCandump(std::map<int, std::string>& portMap, MonitorSettings& settings, const std::string& path)
{
    if (settings.PortNum < 1)
        settings.PortNum = 1;
    portMap[settings.PortNum] = liveCandumpDeviceName(path, settings.UseElm327);
}

std::optional<int> runWindowlessMode(const CommandLine& line, Program program, int argc, char** argv,
                                     const WindowReplayRunner& windowReplay)
{
    switch (line.mode) {
    case ProgramMode::Help:
    case ProgramMode::Version:
        std::cout << line.message << (line.message.ends_with('\n') ? "" : "\n");
        return 0;
    case ProgramMode::Error:
        std::cerr << programName(program) << ": " << line.message << "\n";
        return 2;
    case ProgramMode::Decode: {
        DiskFileSystem files;
        return runDecodeCommand(line.decode.file, line.decode.form, files, std::cout, std::cerr);
    }
    case ProgramMode::Replay:
        return replay(argc, argv, line.replay, windowReplay);
    case ProgramMode::Headless:
        return headless(argc, argv, line.headless);
    case ProgramMode::Dashboard:
    case ProgramMode::Report: // draws charts: the dashboard program runs it
        break;
    }
    return std::nullopt;
}

} // namespace vcm
