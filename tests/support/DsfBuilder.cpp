#include "tests/support/DsfBuilder.h"

#include <algorithm>

namespace sonavel::test {

void AppendLe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

DsfBuilder::DsfBuilder(const DsfLayout& layout, std::vector<std::vector<uint8_t>> channelBytes)
    : layout_(layout), channels_(std::move(channelBytes))
{
    for (const auto& bytes : channels_) {
        sampleCount_ = std::max<uint64_t>(sampleCount_, uint64_t{8} * bytes.size());
    }
}

DsfBuilder& DsfBuilder::SampleCount(uint64_t count)
{
    sampleCount_ = count;
    return *this;
}

DsfBuilder& DsfBuilder::Id3(const std::vector<uint8_t>& tag)
{
    tag_ = tag;
    return *this;
}

std::vector<uint8_t> DsfBuilder::Build() const
{
    size_t longest = 0;
    for (const auto& bytes : channels_) {
        longest = std::max(longest, bytes.size());
    }
    const size_t blocks = (longest + layout_.blockBytes - 1) / layout_.blockBytes;
    std::vector<uint8_t> data;
    for (size_t b = 0; b < blocks; ++b) {
        for (const auto& bytes : channels_) {
            for (size_t k = b * layout_.blockBytes; k < (b + 1) * layout_.blockBytes; ++k) {
                data.push_back(k < bytes.size() ? bytes[k] : 0);
            }
        }
    }
    const uint64_t total = 28 + 52 + 12 + data.size() + tag_.size();
    std::vector<uint8_t> out{'D', 'S', 'D', ' '};
    AppendLe(out, 28, 8);
    AppendLe(out, total, 8);
    AppendLe(out, tag_.empty() ? 0 : 28 + 52 + 12 + data.size(), 8);
    out.insert(out.end(), {'f', 'm', 't', ' '});
    AppendLe(out, 52, 8);
    AppendLe(out, 1, 4);
    AppendLe(out, 0, 4);
    AppendLe(out, layout_.channelType, 4);
    AppendLe(out, layout_.channels, 4);
    AppendLe(out, layout_.rate, 4);
    AppendLe(out, layout_.bitsPerSample, 4);
    AppendLe(out, sampleCount_, 8);
    AppendLe(out, layout_.blockBytes, 4);
    AppendLe(out, 0, 4);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    AppendLe(out, 12 + data.size(), 8);
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), tag_.begin(), tag_.end());
    return out;
}

} // namespace sonavel::test
