// The cost of playing in real time, measured on the headless front end rendering through the file
// writer, each set against sox reading the same file to nothing in the same run:
//  - CPU seconds of the whole process per audio second at speed 1 (192 kHz/24-bit stereo);
//  - peak resident memory in streaming mode at 384 kHz/32-bit stereo;
//  - underruns at speed 20.
// The test files are made in a temporary folder with sox.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ChildCost {
    int status = -1;
    double cpuSeconds = 0;
    double peakMegabytes = 0;
    std::string out;
};

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs a program with its standard output captured and returns what the kernel counted for it.
ChildCost Run(const std::vector<std::string>& args)
{
    ChildCost cost;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return cost;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        cost.out.append(buffer, static_cast<size_t>(got));
    }
    close(pipeFds[0]);
    rusage usage{};
    int status = 0;
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
        cost.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
        cost.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    return cost;
}

std::string LastLine(const std::string& text)
{
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) {
        return {};
    }
    const size_t begin = text.rfind('\n', end);
    return text.substr(begin == std::string::npos ? 0 : begin + 1, end - (begin == std::string::npos ? 0 : begin + 1) + 1);
}

bool MakeWave(const fs::path& path, int rate, int bits, int seconds)
{
    const std::string command = "sox -n -r " + std::to_string(rate) + " -b " + std::to_string(bits) + " -c 2 '" +
        path.string() + "' synth " + std::to_string(seconds) + " sine 100-20000 vol 0.5 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

ChildCost Render(const fs::path& dir, const fs::path& wave, const std::string& speed, const std::string& buffer = "")
{
    std::vector<std::string> args{std::string(SONAVEL_PROGRAM_DIR) + "/sonavel-cli", "render", "--out",
        (dir / "out.wav").string(), "--speed", speed};
    if (!buffer.empty()) {
        args.insert(args.end(), {"--buffer", buffer});
    }
    args.push_back(wave.string());
    return Run(args);
}

} // namespace

int main()
{
    const fs::path dir = fs::temp_directory_path() / ("sonavel-bench-playback-" + std::to_string(getpid()));
    fs::create_directories(dir);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    constexpr int kCpuSeconds = 30;
    constexpr int kMemorySeconds = 60;
    const fs::path hires = dir / "192k24.wav";
    const fs::path highest = dir / "384k32.wav";
    std::printf("making test files with sox...\n");
    if (!MakeWave(hires, 192000, 24, kCpuSeconds) || !MakeWave(highest, 384000, 32, kMemorySeconds)) {
        std::fprintf(stderr, "sox failed\n");
        return 1;
    }
    const ChildCost sox = Run({"sox", "-q", hires.string(), "-t", "raw", "/dev/null"});

    std::printf("\nreal-time playback, render --speed 1, %d s of 192 kHz/24-bit stereo\n", kCpuSeconds);
    std::printf("  sox to null            %7.3f CPU s  (reference: reading the same file once)\n", sox.cpuSeconds);
    bool realTimeRan = true;
    // The file writer's default buffer of 512 samples is 2.7 ms at this rate; 4096 is 21 ms.
    for (const std::string buffer : {"", "4096"}) {
        const ChildCost realTime = Render(dir, hires, "1", buffer);
        realTimeRan = realTimeRan && realTime.status == 0;
        std::printf("  buffer %-5s           %7.3f CPU s  %6.3f %% of the audio time (target <= 1 %%)  ratio to sox %.1f  %s\n",
            buffer.empty() ? "512" : buffer.c_str(), realTime.cpuSeconds, 100.0 * realTime.cpuSeconds / kCpuSeconds,
            sox.cpuSeconds > 0 ? realTime.cpuSeconds / sox.cpuSeconds : 0.0, LastLine(realTime.out).c_str());
    }

    std::printf("\nstreaming memory, render --speed 20, %d s of 384 kHz/32-bit stereo (%.0f MB file)\n",
        kMemorySeconds, static_cast<double>(fs::file_size(highest)) / 1e6);
    const ChildCost memory = Render(dir, highest, "20");
    std::printf("  peak resident %7.1f MB (target <= 150 MB)  %s\n", memory.peakMegabytes, LastLine(memory.out).c_str());

    std::printf("\nunderruns, render --speed 20, %d s of 192 kHz/24-bit stereo\n", kCpuSeconds);
    const ChildCost fast = Render(dir, hires, "20");
    std::printf("  %s (target: underruns 0)\n", LastLine(fast.out).c_str());
    fs::remove_all(dir);
    const bool ran = realTimeRan && memory.status == 0 && fast.status == 0;
    return ran ? 0 : 1;
}
