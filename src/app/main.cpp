// veloxcanmoni: dispatches on the first argument to the program's modes.
#include "app/HeadlessCommand.h"
#include "app/ReplayCommand.h"
#include "common/FileSystem.h"
#include "config/AppPaths.h"
#include "config/Settings.h"

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

namespace {

std::string programFolder(const char* argv0)
{
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(std::filesystem::path(argv0), ec);
    return ec ? std::string(".") : p.parent_path().string();
}

int replay(const std::vector<std::string>& args, const char* argv0)
{
    std::string error;
    const auto line = vcm::parseReplayCommandLine(args, error);
    if (!line) {
        std::cerr << "veloxcanmoni: " << error << "\n" << vcm::kReplayUsage;
        return 2;
    }
    vcm::DiskFileSystem disk;
    const vcm::AppPaths paths = vcm::resolveAppPaths(disk, programFolder(argv0), vcm::userFoldersFromEnvironment());
    vcm::ReplayEnvironment env;
    env.settings = vcm::readSettings(disk, paths.settingsFile, paths.defaultSaveFolder);
    env.saveFolder = vcm::effectiveSaveFolder(env.settings, paths);
    env.progressBar = VCM_ISATTY(VCM_STDERR) != 0;
    return vcm::runReplayCommand(*line, env, std::cout, std::cerr);
}

int headless(int argc, char** argv, const std::vector<std::string>& args)
{
    const auto options = vcm::parseHeadlessArgs(args);
    if (!options) {
        std::cerr << "usage: veloxcanmoni --headless [--settings FILE] [--status-every SECONDS]\n";
        return 2;
    }
    vcm::DiskFileSystem disk;
    vcm::AppPaths paths = vcm::resolveAppPaths(disk, programFolder(argv[0]), vcm::userFoldersFromEnvironment());
    if (!options->settingsFile.empty())
        paths.settingsFile = options->settingsFile;
    vcm::createAppFolders(paths);
    vcm::HeadlessSetup setup;
    setup.settings = vcm::readSettings(disk, paths.settingsFile, paths.defaultSaveFolder);
    setup.portMap = vcm::readPortMap(disk, paths.settingsFile);
    setup.settingsFile = paths.settingsFile;
    setup.saveFolder = vcm::effectiveSaveFolder(setup.settings, paths);
    setup.defaultSaveFolder = paths.defaultSaveFolder;
    setup.statusEverySeconds = options->statusEverySeconds;
    return vcm::runHeadless(argc, argv, setup);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--replay" || args[0] == "--export-candump"))
        return replay(args, argv[0]);
    if (!args.empty() && args[0] == "--headless")
        return headless(argc, argv, args);
    std::cerr << vcm::kReplayUsage << "       veloxcanmoni --headless [--settings FILE] [--status-every SECONDS]\n";
    return 2;
}
