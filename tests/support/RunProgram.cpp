#include "tests/support/RunProgram.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sonavel::test {

std::filesystem::path ProgramDir()
{
    const char* dir = std::getenv("SONAVEL_PROGRAM_DIR");
    if (dir != nullptr) {
        return dir;
    }
    // Test programs are built into the program folder itself.
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment)
{
    TempDir dir;
    const auto outPath = dir.Path() / "out";
    const auto errPath = dir.Path() / "err";
    const std::string path = (ProgramDir() / program).string();

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    ProgramResult result;
    const pid_t child = fork();
    if (child < 0) {
        return result;
    }
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto out = ReadFileBytes(outPath);
    const auto err = ReadFileBytes(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
}

} // namespace sonavel::test
