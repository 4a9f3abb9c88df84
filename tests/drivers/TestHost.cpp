#include "tests/drivers/TestHost.h"

#include "drivers/common/DoubleBufferDriver.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace sonavel::test {

namespace {

std::atomic<TestHost*> current{nullptr};

} // namespace

TestHost::TestHost(std::shared_ptr<CAsioWrapperImpl> wrapper, bool callOutputReady, int stopAfter)
    : wrapper_(std::move(wrapper)), callOutputReady_(callOutputReady), stopAfter_(stopAfter)
{
    current = this;
}

TestHost::~TestHost()
{
    wrapper_->Stop();
    wrapper_->DisposeBuffers();
    current = nullptr;
}

ASIOError TestHost::CreateBuffers(int32_t channels, AsioLong bufferSize)
{
    channels_ = channels;
    for (int32_t i = 0; i < channels; ++i) {
        infos_[i] = {ASIOFalse, i, {nullptr, nullptr}};
    }
    static const ASIOCallbacks callbacks{
        BufferSwitch, SampleRateDidChange, AsioMessage, BufferSwitchTimeInfo};
    const ASIOError result = wrapper_->CreateBuffers(infos_, channels, bufferSize, &callbacks);
    for (int32_t i = 0; i < channels && result == ASE_OK; ++i) {
        ASIOChannelInfo info{};
        info.channel = i;
        wrapper_->GetChannelInfo(&info);
        halfBytes_[i] = HalfBufferBytes(info.type, bufferSize);
    }
    return result;
}

void TestHost::Fill(AsioLong index)
{
    std::vector<std::vector<uint8_t>> given(static_cast<size_t>(channels_));
    for (int32_t ch = 0; ch < channels_; ++ch) {
        auto* half = static_cast<uint8_t*>(infos_[ch].buffers[index]);
        for (size_t i = 0; i < halfBytes_[ch]; ++i) {
            half[i] = static_cast<uint8_t>((seed_++ * 37u) >> 2);
        }
        given[static_cast<size_t>(ch)].assign(half, half + halfBytes_[ch]);
    }
    if (callOutputReady_) {
        wrapper_->OutputReady();
    }
    size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        fills_.push_back(std::move(given));
        count = fills_.size();
    }
    if (count == static_cast<size_t>(stopAfter_)) {
        wrapper_->Stop();
    }
    switched_.notify_all();
}

void TestHost::BufferSwitch(AsioLong index, ASIOBool)
{
    if (TestHost* host = current) {
        host->Fill(index);
    }
}

void TestHost::SampleRateDidChange(ASIOSampleRate) { }

AsioLong TestHost::AsioMessage(AsioLong selector, AsioLong value, void*, double*)
{
    return selector == kAsioSelectorSupported && value == kAsioSupportsTimeInfo
        ? 1
        : selector == kAsioSupportsTimeInfo;
}

ASIOTime* TestHost::BufferSwitchTimeInfo(ASIOTime* params, AsioLong index, ASIOBool directProcess)
{
    BufferSwitch(index, directProcess);
    return params;
}

bool TestHost::WaitForSwitches(int count)
{
    std::unique_lock lock(mutex_);
    return switched_.wait_for(
        lock, std::chrono::seconds(10), [&] { return fills_.size() >= static_cast<size_t>(count); });
}

int TestHost::Switches() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(fills_.size());
}

std::vector<std::vector<std::vector<uint8_t>>> TestHost::Fills() const
{
    std::lock_guard lock(mutex_);
    return fills_;
}

std::vector<uint8_t> TestHost::Interleaved(size_t sampleBytes) const
{
    std::vector<uint8_t> out;
    for (const auto& fill : Fills()) {
        for (size_t offset = 0; offset + sampleBytes <= fill[0].size(); offset += sampleBytes) {
            for (const auto& channel : fill) {
                out.insert(out.end(), channel.begin() + static_cast<std::ptrdiff_t>(offset),
                    channel.begin() + static_cast<std::ptrdiff_t>(offset + sampleBytes));
            }
        }
    }
    return out;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name)
{
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    unsetenv(name_.c_str());
}

uint32_t ReadLe32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
        uint32_t{bytes.at(offset + 3)} << 24;
}

uint16_t ReadLe16(const std::vector<uint8_t>& bytes, size_t offset)
{
    return static_cast<uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

uint32_t ReadBe32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return uint32_t{bytes.at(offset)} << 24 | bytes.at(offset + 1) << 16 | bytes.at(offset + 2) << 8 |
        bytes.at(offset + 3);
}

uint64_t ReadBe64(const std::vector<uint8_t>& bytes, size_t offset)
{
    return uint64_t{ReadBe32(bytes, offset)} << 32 | ReadBe32(bytes, offset + 4);
}

std::string Tag(const std::vector<uint8_t>& bytes, size_t offset)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
        bytes.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

} // namespace sonavel::test
