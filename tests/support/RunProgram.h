#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sonavel::test {

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

// The program folder of the build, where the executables and their Plugin and Drivers folders are.
std::filesystem::path ProgramDir();

// Runs a program of the program folder with arguments (and extra NAME=VALUE environment entries)
// and waits for it; stdout and stderr are captured whole.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {});

} // namespace sonavel::test
