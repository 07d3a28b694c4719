// veloxcanmoni-headless: the modes of veloxcanmoni that open no window, in a program
// linked without Qt Widgets and Qt Gui, for a board in the car with no screen.
//   veloxcanmoni-headless [--settings FILE] [--status-every SECONDS]
//                                      live logging (the same as --headless)
//   veloxcanmoni-headless --headless|--replay|--export-candump|--decode ...
//                                      as veloxcanmoni; --replay --gui needs veloxcanmoni
#include "app/WindowlessModes.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (auto status = vcm::runWindowlessMode(argc, argv, nullptr))
        return *status;
    // Anything else is live logging's own options.
    std::vector<std::string> args(argv, argv + argc);
    args.insert(args.begin() + 1, "--headless");
    std::vector<char*> withMode;
    for (auto& a : args)
        withMode.push_back(a.data());
    withMode.push_back(nullptr);
    return vcm::runWindowlessMode(static_cast<int>(args.size()), withMode.data(), nullptr).value_or(2);
}
