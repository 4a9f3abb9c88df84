#include "drivers/filewriter/FileWriterDriver.h"

#include "drivers/filewriter/FileSequence.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sonavel {

namespace {

bool IsDsdType(int32_t type)
{
    return type == ASIOSTDSDInt8LSB1 || type == ASIOSTDSDInt8MSB1 || type == ASIOSTDSDInt8NER8;
}

} // namespace

FileWriterDriver::FileWriterDriver(FileWriterSettings settings)
    : DoubleBufferDriver(false), settings_(std::move(settings)), sampleRate_(settings_.rates.front())
{
    if (std::find(settings_.rates.begin(), settings_.rates.end(), 44100.0) != settings_.rates.end()) {
        sampleRate_ = 44100.0;
    }
}

FileWriterDriver::~FileWriterDriver()
{
    Shutdown();
}

ASIOBool FileWriterDriver::init(void*)
{
    return ASIOTrue;
}

void FileWriterDriver::getDriverName(char* name)
{
    CopyFieldText(name, 32, "File Writer");
}

AsioLong FileWriterDriver::getDriverVersion()
{
    return 1;
}

void FileWriterDriver::getErrorMessage(char* string)
{
    CopyFieldText(string, 124, writeFailed_ ? "cannot write the output file" : errorMessage_);
}

ASIOError FileWriterDriver::getChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels)
{
    *numInputChannels = 0;
    *numOutputChannels = settings_.channels;
    return ASE_OK;
}

ASIOError FileWriterDriver::getLatencies(AsioLong* inputLatency, AsioLong* outputLatency)
{
    *inputLatency = 0;
    *outputLatency = settings_.bufferSize;
    return ASE_OK;
}

ASIOError FileWriterDriver::getBufferSize(
    AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity)
{
    *minSize = *maxSize = *preferredSize = settings_.bufferSize;
    *granularity = 0;
    return ASE_OK;
}

bool FileWriterDriver::IsBufferSizeAllowed(AsioLong bufferSize) const
{
    // One-bit DSD halves must hold whole bytes.
    const int32_t type = ChannelType(0);
    const bool oneBit = type == ASIOSTDSDInt8LSB1 || type == ASIOSTDSDInt8MSB1;
    return bufferSize >= 8 && bufferSize <= (1 << 20) && (!oneBit || bufferSize % 8 == 0);
}

ASIOError FileWriterDriver::canSampleRate(ASIOSampleRate sampleRate)
{
    const bool accepted =
        std::find(settings_.rates.begin(), settings_.rates.end(), sampleRate) != settings_.rates.end();
    return accepted ? ASE_OK : ASE_NoClock;
}

ASIOError FileWriterDriver::getSampleRate(ASIOSampleRate* sampleRate)
{
    *sampleRate = sampleRate_;
    return ASE_OK;
}

ASIOError FileWriterDriver::setSampleRate(ASIOSampleRate sampleRate)
{
    if (canSampleRate(sampleRate) != ASE_OK) {
        return ASE_NoClock;
    }
    sampleRate_ = sampleRate;
    return ASE_OK;
}

int32_t FileWriterDriver::ChannelType(AsioLong) const
{
    if (ioFormat_ == kASIODSDFormat) {
        return IsDsdType(settings_.type) ? settings_.type : ASIOSTDSDInt8MSB1;
    }
    return settings_.type;
}

ASIOError FileWriterDriver::getChannelInfo(ASIOChannelInfo* info)
{
    return FillChannelInfo(info);
}

ASIOError FileWriterDriver::controlPanel()
{
    return ASE_OK;
}

ASIOError FileWriterDriver::future(AsioLong selector, void* opt)
{
    auto* format = static_cast<ASIOIoFormat*>(opt);
    switch (selector) {
    case kAsioCanDoIoFormat:
        return format != nullptr &&
                (format->FormatType == kASIOPCMFormat || format->FormatType == kASIODSDFormat)
            ? ASE_SUCCESS
            : ASE_NotPresent;
    case kAsioSetIoFormat:
        if (format == nullptr ||
            (format->FormatType != kASIOPCMFormat && format->FormatType != kASIODSDFormat)) {
            return ASE_NotPresent;
        }
        ioFormat_ = format->FormatType;
        return ASE_SUCCESS;
    case kAsioGetIoFormat:
        if (format == nullptr) {
            return ASE_InvalidParameter;
        }
        format->FormatType = ioFormat_;
        return ASE_SUCCESS;
    default:
        return ASE_InvalidParameter;
    }
}

ASIOError FileWriterDriver::PrepareStream(AsioLong numChannels, AsioLong)
{
    streamFormat_ = SampleFileFormat{ChannelType(0), numChannels, sampleRate_.load()};
    return ASE_OK;
}

void FileWriterDriver::ReleaseStream()
{
    if (file_) {
        file_->Finish();
    }
}

ASIOError FileWriterDriver::StartStream()
{
    // The file is made when the stream starts, so buffers that a host creates and disposes again
    // without playing (to probe a device, or before it changes the rate) leave no empty file.
    if (!settings_.out.empty() && !(file_ && file_->Format() == streamFormat_)) {
        file_.reset();
        file_ = SampleFile::Create(NumberedPath(settings_.out, NextFileNumber(settings_.out)), streamFormat_);
        if (!file_) {
            errorMessage_ = "cannot create the output file";
            return ASE_HWMalfunction;
        }
    }
    if (settings_.speed > 0) {
        const double seconds = BufferSize() / (sampleRate_ * settings_.speed);
        period_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds));
    }
    deadline_ = std::chrono::steady_clock::now();
    return ASE_OK;
}

void FileWriterDriver::StopStream()
{
    if (file_) {
        file_->Finish();
    }
}

bool FileWriterDriver::AwaitPeriod()
{
    if (settings_.speed <= 0) {
        return !StopRequested();
    }
    deadline_ += period_;
    return WaitUntil(deadline_);
}

bool FileWriterDriver::Deliver(int half)
{
    if (!file_) {
        return true;
    }
    std::vector<std::span<const uint8_t>> channels;
    channels.reserve(BufferCount());
    for (size_t buffer = 0; buffer < BufferCount(); ++buffer) {
        channels.push_back(Half(buffer, half));
    }
    if (!file_->Append(channels)) {
        writeFailed_ = true;
    }
    return true;
}

void FileWriterDriver::DeliverAtStop(int half)
{
    Deliver(half);
}

} // namespace sonavel
