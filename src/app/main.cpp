// veloxcanmoni: dispatches on the first argument to the program's modes.
#include "app/DecodeCommand.h"
#include "common/FileSystem.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--decode") {
        vcm::DiskFileSystem files;
        return vcm::runDecodeCommand({args.begin() + 1, args.end()}, files, std::cout, std::cerr);
    }
    std::cerr << "usage: veloxcanmoni --decode FILE [--adapter elm327|canusb]\n";
    return 2;
}
