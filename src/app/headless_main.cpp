// veloxcanmoni-headless: the modes of veloxcanmoni that open no window, in a program
// linked without Qt Widgets and Qt Gui, for a board in the car with no screen.
//   veloxcanmoni-headless [--settings FILE] [--status-every SECONDS]
//                                      live logging (the same as --headless)
//   veloxcanmoni-headless --headless|--replay|--export-candump|--decode ...
//                                      as veloxcanmoni; --replay --gui needs veloxcanmoni
//   veloxcanmoni-headless --help|--version
#include "app/CommandLine.h"
#include "app/WindowlessModes.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const vcm::CommandLine line = vcm::parseCommandLine({argv + 1, argv + argc}, vcm::Program::Headless);
    return vcm::runWindowlessMode(line, vcm::Program::Headless, argc, argv, nullptr).value_or(2);
}
