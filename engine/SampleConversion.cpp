#include "engine/SampleConversion.h"

#include "engine/WordBytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace sonavel {

namespace {

constexpr double kWordScale = 1.0 / 2147483648.0;

template <typename T>
void StoreOrdered(uint8_t* target, T value, bool bigEndian) noexcept
{
    StoreUnaligned(target, bigEndian ? ByteSwap(value) : value);
}

// Each encoder writes one channel word in one sample type.
template <bool BigEndian>
struct Int16 {
    static constexpr uint32_t kBits = 16;
    static constexpr uint32_t kBytes = 2;
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        StoreOrdered(target, static_cast<uint16_t>(word >> 16), BigEndian);
    }
};

// Four 32-bit lanes; GCC and Clang compile operations on it to SIMD instructions.
using WordLanes = uint32_t __attribute__((vector_size(16)));
using PairLanes = uint64_t __attribute__((vector_size(16)));

template <bool BigEndian>
struct Int24 {
    static constexpr uint32_t kBits = 24;
    static constexpr uint32_t kBytes = 3;
    // The sample in the low three bytes of a little-endian value; for one word or for lanes.
    template <typename Words>
    static Words Packed(Words word) noexcept
    {
        if constexpr (BigEndian) {
            return (word >> 24) | (word >> 8 & 0xFF00u) | (word << 8 & 0xFF0000u);
        } else {
            return word >> 8;
        }
    }
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        const uint32_t packed = Packed(word);
        target[0] = static_cast<uint8_t>(packed);
        target[1] = static_cast<uint8_t>(packed >> 8);
        target[2] = static_cast<uint8_t>(packed >> 16);
    }
    // Four samples in two 8-byte stores; the second reaches two bytes into the next sample,
    // which is written afterwards.
    static void WriteFourOverlapping(uint8_t* target, const uint32_t* words) noexcept
    {
        WordLanes lanes;
        std::memcpy(&lanes, words, sizeof lanes);
        const PairLanes pairs = reinterpret_cast<PairLanes>(Packed(lanes));
        const PairLanes joined = (pairs & 0xFFFFFFu) | (pairs >> 8 & 0xFFFFFF000000u);
        StoreUnaligned(target, joined[0]);
        StoreUnaligned(target + 6, joined[1]);
    }
};

// 32-bit integers; a shift leaves a narrower sample right-justified and sign-extended.
template <bool BigEndian, int Shift>
struct Int32 {
    static constexpr uint32_t kBits = 32;
    static constexpr uint32_t kBytes = 4;
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        StoreOrdered(target, static_cast<uint32_t>(static_cast<int32_t>(word) >> Shift), BigEndian);
    }
};

template <bool BigEndian, typename T, typename Bits>
struct FloatOf {
    static constexpr uint32_t kBits = 8 * sizeof(T);
    static constexpr uint32_t kBytes = sizeof(T);
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        // The integer is rounded once to T and then scaled by a power of two, which is exact.
        const T value = static_cast<T>(static_cast<int32_t>(word)) * static_cast<T>(kWordScale);
        StoreOrdered(target, std::bit_cast<Bits>(value), BigEndian);
    }
};

template <bool BigEndian>
using Float32 = FloatOf<BigEndian, float, uint32_t>;
template <bool BigEndian>
using Float64 = FloatOf<BigEndian, double, uint64_t>;

constexpr uint8_t ReverseBits(uint8_t value)
{
    uint8_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit) {
        reversed = static_cast<uint8_t>(reversed | ((value >> bit) & 1) << (7 - bit));
    }
    return reversed;
}

constexpr std::array<uint8_t, 256> kReversedBytes = [] {
    std::array<uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        table[value] = ReverseBits(static_cast<uint8_t>(value));
    }
    return table;
}();

// The eight bits of a byte spread over eight bytes (0 or 1), the most significant bit first in
// memory.
constexpr std::array<uint64_t, 256> kSpreadBits = [] {
    std::array<uint64_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        for (int bit = 0; bit < 8; ++bit) {
            table[value] |= static_cast<uint64_t>((value >> (7 - bit)) & 1) << (8 * bit);
        }
    }
    return table;
}();

// DSD with the least significant bit of each byte earliest: every byte mirrored, order kept.
struct DsdLsb1 {
    static constexpr uint32_t kBits = 1;
    static constexpr uint32_t kBytes = 4;
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        for (int index = 0; index < 4; ++index) {
            target[index] = kReversedBytes[(word >> (8 * index)) & 0xFFu];
        }
    }
};

// DSD with the most significant bit earliest: the channel word's own byte order.
struct DsdMsb1 {
    static constexpr uint32_t kBits = 1;
    static constexpr uint32_t kBytes = 4;
    static void Write(uint8_t* target, uint32_t word) noexcept { StoreUnaligned(target, word); }
};

// One byte per DSD bit, in time order.
struct DsdNer8 {
    static constexpr uint32_t kBits = 8;
    static constexpr uint32_t kBytes = 32;
    static void Write(uint8_t* target, uint32_t word) noexcept
    {
        for (int index = 0; index < 4; ++index) {
            StoreUnaligned(target + 8 * index, kSpreadBits[(word >> (8 * index)) & 0xFFu]);
        }
    }
};

template <typename Encoder>
uint32_t Convert(uint8_t* target, uint32_t word) noexcept
{
    Encoder::Write(target, word);
    return Encoder::kBytes;
}

template <typename Encoder>
size_t ConvertRun(uint8_t* target, std::span<const uint32_t> words) noexcept
{
    size_t index = 0;
    if constexpr (requires { Encoder::WriteFourOverlapping(target, words.data()); }) {
        // Each group's store reaches into the next sample, so one sample at least must follow.
        for (; index + 4 < words.size(); index += 4) {
            Encoder::WriteFourOverlapping(target + index * Encoder::kBytes, words.data() + index);
        }
    }
    for (; index < words.size(); ++index) {
        Encoder::Write(target + index * Encoder::kBytes, words[index]);
    }
    return words.size() * Encoder::kBytes;
}

template <typename Encoder>
constexpr SampleTypeRow Row(AsioSampleType type)
{
    return {type, Encoder::kBits, Encoder::kBytes, &Convert<Encoder>, &ConvertRun<Encoder>};
}

constexpr bool kMsb = true;
constexpr bool kLsb = false;

constexpr std::array kRows{
    Row<Int16<kMsb>>(ASIOSTInt16MSB),       Row<Int24<kMsb>>(ASIOSTInt24MSB),
    Row<Int32<kMsb, 0>>(ASIOSTInt32MSB),    Row<Float32<kMsb>>(ASIOSTFloat32MSB),
    Row<Float64<kMsb>>(ASIOSTFloat64MSB),   Row<Int32<kMsb, 16>>(ASIOSTInt32MSB16),
    Row<Int32<kMsb, 14>>(ASIOSTInt32MSB18), Row<Int32<kMsb, 12>>(ASIOSTInt32MSB20),
    Row<Int32<kMsb, 8>>(ASIOSTInt32MSB24),  Row<Int16<kLsb>>(ASIOSTInt16LSB),
    Row<Int24<kLsb>>(ASIOSTInt24LSB),       Row<Int32<kLsb, 0>>(ASIOSTInt32LSB),
    Row<Float32<kLsb>>(ASIOSTFloat32LSB),   Row<Float64<kLsb>>(ASIOSTFloat64LSB),
    Row<Int32<kLsb, 16>>(ASIOSTInt32LSB16), Row<Int32<kLsb, 14>>(ASIOSTInt32LSB18),
    Row<Int32<kLsb, 12>>(ASIOSTInt32LSB20), Row<Int32<kLsb, 8>>(ASIOSTInt32LSB24),
    Row<DsdLsb1>(ASIOSTDSDInt8LSB1),        Row<DsdMsb1>(ASIOSTDSDInt8MSB1),
    Row<DsdNer8>(ASIOSTDSDInt8NER8),
};

static_assert(kRows.size() == 21);

} // namespace

const SampleTypeRow* FindSampleTypeRow(int32_t type) noexcept
{
    const auto row = std::find_if(kRows.begin(), kRows.end(),
                                  [type](const SampleTypeRow& candidate) { return candidate.type == type; });
    return row == kRows.end() ? nullptr : &*row;
}

std::span<const SampleTypeRow> SampleTypeRows() noexcept
{
    return kRows;
}

} // namespace sonavel
