#include "tools/DevicesCommand.h"
#include "tools/InfoCommand.h"
#include "tools/PlayCommand.h"
#include "tools/PlaylistCommand.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage: sonavel-cli COMMAND [ARGS...]\n"
           "commands:\n"
           "  info [--cd DEVICE] FILE...\n"
           "                 print the tracks, formats and tags of audio files, cue sheets, the entries\n"
           "                 of .ppl playlists and the audio tracks of the disc in DEVICE\n"
           "  devices [--debug] [--all]\n"
           "                 list the output devices (--all: every driver and renderer device)\n"
           "  play [--device NAME] [--debug] [--ram] [--dsd native|dop]\n"
           "       [--repeat default|playlist|title] [--shuffle] [--seek SECONDS] [--cd DEVICE] FILE...\n"
           "                 play the files (cue sheets and .ppl playlists too) until playback stops\n"
           "  render --out FILE [--speed N] [--type T] [--channels N] [--buffer N] [play options] FILE...\n"
           "                 play through the File Writer device into FILE (speed 20 by default, 0 as\n"
           "                 fast as possible) and print the tracks, underruns and samples delivered\n"
           "  playlist --out FILE.ppl FILE...\n"
           "                 write the playlist that adding the files in this order builds\n";
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
    if (command == "play") {
        return sonavel::RunPlayCommand(args, std::cout, std::cerr);
    }
    if (command == "playlist") {
        return sonavel::RunPlaylistCommand(args, std::cout, std::cerr);
    }
    if (command == "render") {
        return sonavel::RunRenderCommand(args, std::cout, std::cerr);
    }
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(std::cout);
        return 0;
    }
    std::cerr << "sonavel-cli: unknown command '" << command << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
