#include "tools/DevicesCommand.h"
#include "tools/InfoCommand.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage: sonavel-cli COMMAND [ARGS...]\n"
           "commands:\n"
           "  info FILE...   print the tracks, formats and tags of audio files\n"
           "  devices [--debug] [--all]\n"
           "                 list the output devices (--all: every driver and renderer device)\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(std::cerr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "info") {
        if (args.empty()) {
            PrintUsage(std::cerr);
            return 2;
        }
        return sonavel::RunInfoCommand(args, std::cout, std::cerr);
    }
    if (command == "devices") {
        return sonavel::RunDevicesCommand(args, sonavel::OutputLocations::System(), std::cout, std::cerr);
    }
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(std::cout);
        return 0;
    }
    std::cerr << "sonavel-cli: unknown command '" << command << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
