#pragma once

#include "output/AsioWrapperImpl.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sonavel::test {

// Plays the host's side against a loaded driver: creates buffers, fills every half the driver
// switches to with fresh bytes, and remembers what it gave. With stopAfter it stops the driver from
// inside that switch, as a host may, so devices that are not paced run a known number of switches.
// One host at a time, since the driver calls back through plain functions.
class TestHost {
public:
    TestHost(std::shared_ptr<CAsioWrapperImpl> wrapper, bool callOutputReady, int stopAfter = 0);
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;
    ~TestHost();

    ASIOError CreateBuffers(int32_t channels, AsioLong bufferSize);
    // Waits (up to a few seconds) until the driver switched `count` times since the start.
    bool WaitForSwitches(int count);
    int Switches() const;
    // What was given, per switch, per channel.
    std::vector<std::vector<std::vector<uint8_t>>> Fills() const;
    // The halves of every switch interleaved sample by sample, `sampleBytes` at a time.
    std::vector<uint8_t> Interleaved(size_t sampleBytes) const;

private:
    static void BufferSwitch(AsioLong index, ASIOBool directProcess);
    static void SampleRateDidChange(ASIOSampleRate rate);
    static AsioLong AsioMessage(AsioLong selector, AsioLong value, void* message, double* opt);
    static ASIOTime* BufferSwitchTimeInfo(ASIOTime* params, AsioLong index, ASIOBool directProcess);
    void Fill(AsioLong index);

    std::shared_ptr<CAsioWrapperImpl> wrapper_;
    const bool callOutputReady_;
    const int stopAfter_;
    ASIOBufferInfo infos_[8] = {};
    size_t halfBytes_[8] = {};
    int32_t channels_ = 0;
    uint32_t seed_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable switched_;
    std::vector<std::vector<std::vector<uint8_t>>> fills_;
};

// Sets an environment variable for the scope's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv();

private:
    std::string name_;
};

uint32_t ReadLe32(const std::vector<uint8_t>& bytes, size_t offset);
uint16_t ReadLe16(const std::vector<uint8_t>& bytes, size_t offset);
uint64_t ReadBe64(const std::vector<uint8_t>& bytes, size_t offset);
uint32_t ReadBe32(const std::vector<uint8_t>& bytes, size_t offset);
std::string Tag(const std::vector<uint8_t>& bytes, size_t offset);

} // namespace sonavel::test
