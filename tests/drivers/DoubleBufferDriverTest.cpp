#include "drivers/common/DoubleBufferDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace sonavel {
namespace {

// A device that is not paced and records the first byte of every half it is handed; it goes away
// after `failAfter` deliveries (0: never).
class ScriptedDriver final : public DoubleBufferDriver {
public:
    explicit ScriptedDriver(int failAfter) : DoubleBufferDriver(false), failAfter_(failAfter) { }
    ~ScriptedDriver() override { Shutdown(); }

    std::vector<uint8_t> Delivered() const
    {
        std::lock_guard lock(mutex_);
        return delivered_;
    }

    bool WaitForDeliveries(size_t count)
    {
        std::unique_lock lock(mutex_);
        return deliveredChanged_.wait_for(
            lock, std::chrono::seconds(10), [&] { return delivered_.size() >= count; });
    }

    ASIOBool init(void*) override { return ASIOTrue; }
    void getDriverName(char* name) override { name[0] = '\0'; }
    AsioLong getDriverVersion() override { return 1; }
    void getErrorMessage(char* string) override { string[0] = '\0'; }
    ASIOError getChannels(AsioLong*, AsioLong*) override { return ASE_OK; }
    ASIOError getLatencies(AsioLong*, AsioLong*) override { return ASE_OK; }
    ASIOError getBufferSize(AsioLong*, AsioLong*, AsioLong*, AsioLong*) override { return ASE_OK; }
    ASIOError canSampleRate(ASIOSampleRate) override { return ASE_OK; }
    ASIOError getSampleRate(ASIOSampleRate* rate) override
    {
        *rate = 48000;
        return ASE_OK;
    }
    ASIOError setSampleRate(ASIOSampleRate) override { return ASE_OK; }
    ASIOError getClockSources(ASIOClockSource*, AsioLong*) override { return ASE_OK; }
    ASIOError setClockSource(AsioLong) override { return ASE_OK; }
    ASIOError getChannelInfo(ASIOChannelInfo*) override { return ASE_OK; }
    ASIOError controlPanel() override { return ASE_OK; }
    ASIOError future(AsioLong, void*) override { return ASE_InvalidParameter; }

private:
    AsioLong OutputChannelCount() const override { return 2; }
    bool IsBufferSizeAllowed(AsioLong size) const override { return size == 16; }
    int32_t ChannelType(AsioLong) const override { return ASIOSTInt32LSB; }
    ASIOError PrepareStream(AsioLong, AsioLong) override { return ASE_OK; }
    void ReleaseStream() override { }
    ASIOError StartStream() override { return ASE_OK; }
    void StopStream() override { }
    bool AwaitPeriod() override { return !StopRequested(); }
    bool Deliver(int half) override
    {
        std::lock_guard lock(mutex_);
        delivered_.push_back(Half(0, half)[0]);
        deliveredChanged_.notify_all();
        return failAfter_ == 0 || static_cast<int>(delivered_.size()) < failAfter_;
    }
    void DeliverAtStop(int half) override { Deliver(half); }

    const int failAfter_;
    mutable std::mutex mutex_;
    std::vector<uint8_t> delivered_;
    std::condition_variable deliveredChanged_;
};

// The host's side: numbers the halves it fills 1, 2, 3 ... and stops the driver in switch `stopAt`.
struct Host {
    static inline std::atomic<ScriptedDriver*> driver{nullptr};
    static inline ASIOBufferInfo infos[2] = {};
    static inline bool outputReady = false;
    static inline int stopAt = 0;
    static inline std::atomic<int> switches{0};

    static void BufferSwitch(AsioLong index, ASIOBool)
    {
        const int n = ++switches;
        static_cast<uint8_t*>(infos[0].buffers[index])[0] = static_cast<uint8_t>(n);
        if (outputReady) {
            driver.load()->outputReady();
        }
        if (n == stopAt) {
            driver.load()->stop();
        }
    }
};

void StartPlaying(ScriptedDriver& driver, bool outputReady, int stopAt)
{
    Host::driver = &driver;
    Host::outputReady = outputReady;
    Host::stopAt = stopAt;
    Host::switches = 0;
    Host::infos[0] = {ASIOFalse, 0, {}};
    Host::infos[1] = {ASIOFalse, 1, {}};
    static const ASIOCallbacks callbacks{Host::BufferSwitch, nullptr, nullptr, nullptr};
    ASSERT_EQ(driver.createBuffers(Host::infos, 2, 16, &callbacks), ASE_OK);
    ASSERT_EQ(driver.start(), ASE_OK);
}

TEST(DoubleBufferDriverTest, EveryFilledHalfIsHandedOverOnceInOrder)
{
    for (const bool outputReady : {true, false}) {
        ScriptedDriver driver(0);
        StartPlaying(driver, outputReady, 7);
        // The host stops the driver in its seventh switch; the last half is handed over by then.
        ASSERT_TRUE(driver.WaitForDeliveries(7));
        ASSERT_EQ(driver.stop(), ASE_OK);
        EXPECT_EQ(Host::switches, 7);
        EXPECT_EQ(driver.Delivered(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}))
            << "outputReady " << outputReady;
        ASIOSamples position = 0;
        ASIOTimeStamp stamp = 0;
        ASSERT_EQ(driver.getSamplePosition(&position, &stamp), ASE_OK);
        EXPECT_EQ(position, 7 * 16);
    }
}

TEST(DoubleBufferDriverTest, ADeviceThatGoesAwayEndsTheCallbacks)
{
    ScriptedDriver driver(3);
    StartPlaying(driver, true, 0);
    ASSERT_TRUE(driver.WaitForDeliveries(3));
    ASSERT_EQ(driver.stop(), ASE_OK);
    EXPECT_EQ(Host::switches, 3);
    EXPECT_EQ(driver.Delivered().size(), 3u);
}

TEST(DoubleBufferDriverTest, StartNeedsBuffersAndBuffersNeedValidArguments)
{
    ScriptedDriver driver(0);
    EXPECT_EQ(driver.start(), ASE_InvalidMode);
    EXPECT_EQ(driver.disposeBuffers(), ASE_InvalidMode);
    static const ASIOCallbacks callbacks{Host::BufferSwitch, nullptr, nullptr, nullptr};
    ASIOBufferInfo infos[3] = {{ASIOFalse, 0, {}}, {ASIOFalse, 1, {}}, {ASIOFalse, 2, {}}};
    EXPECT_EQ(driver.createBuffers(infos, 3, 16, &callbacks), ASE_InvalidParameter);
    EXPECT_EQ(driver.createBuffers(infos, 2, 17, &callbacks), ASE_InvalidParameter);
    EXPECT_EQ(driver.createBuffers(infos, 0, 16, &callbacks), ASE_InvalidParameter);
    EXPECT_EQ(driver.createBuffers(infos, 2, 16, &callbacks), ASE_OK);
    EXPECT_NE(infos[1].buffers[1], nullptr);
    EXPECT_EQ(driver.disposeBuffers(), ASE_OK);
}

} // namespace
} // namespace sonavel
