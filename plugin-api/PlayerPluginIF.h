#pragma once

// The binary contract between KESTRANE Sonavel (the host) and a decoder plug-in.
//
// A plug-in is an ELF shared object named "<name>.ppi" (lower-case extension) in the "Plugin"
// folder beside the player's executable. It exports two functions with C linkage:
//
//     CPlayerPluginIF* ppi_MakeInstance(void);            // null when no instance can be made
//     void ppi_ReleaseInstance(CPlayerPluginIF* instance); // null is ignored
//
// A library lacking either export is not a plug-in. Objects are destroyed only through the
// ppi_ReleaseInstance of the library that made them, and each side frees only what it allocated.
//
// Layout: CPlayerPluginIF is a class with single inheritance and only virtual operations, so an
// object starts with one pointer to its table of operations, in the order declared below (the
// Itanium C++ ABI used by g++ and clang on Linux; the virtual destructor is declared last and
// takes the table's last two slots). Build a plug-in with the same ABI; no other symbol of the
// host is needed.
//
// Texts: names, extensions and versions are zero-terminated UTF-16 in buffers owned by the caller,
// with their capacity in characters. Title and artist are raw bytes plus an encoding code:
// 0 system code page, 1 UTF-16 with byte-order mark, 2 UTF-16 big-endian, 3 UTF-8.
//
// Frames: positions and counts are in frames of the delivered data (nBlockAlign bytes each, at
// nSamplesPerSec frames per second).
//
// Host calling order: GetName/GetExtension/GetVersion and IsMultiInstance when loading; per file
// ReleaseReadBuffer, SetOutputMode(1), OpenFile, GetTitleArtist, GetExtension, GetFormat,
// GetTotalFrames, GetTotalBytes; per block GetFrameGranularity, SetRange, Read, ReleaseReadBuffer.
// An instance is used by one thread at a time; a plug-in answering IsMultiInstance with 1 must
// allow several instances to work at once on different threads.

#include <stdint.h>

#define PPI_INTERFACE_VERSION 1

// Result codes.
#define PPI_OK 0
#define PPI_FAIL (-1)            // unparseable or unsupported file, nothing open, buffer held
#define PPI_BAD_ARGUMENT (-2)    // null pointer, size <= 0, reversed range, unknown mode
#define PPI_CANNOT_OPEN (-3)
#define PPI_NO_MEMORY (-4)
#define PPI_TOO_LARGE (-6)
#define PPI_READ_ERROR (-7)
#define PPI_OUT_OF_ORDER (-1000)

// Output modes of SetOutputMode.
#define PPI_MODE_DSD_OVER_PCM 0
#define PPI_MODE_NATIVE_DSD 1

#pragma pack(push, 1)
// The 18-byte audio format record (RIFF WAVE's WAVEFORMATEX), little-endian fields.
struct PpiWaveFormat {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};
#pragma pack(pop)

class CPlayerPluginIF {
public:
    virtual int32_t GetName(char16_t* buffer, int32_t capacity) = 0;
    // One or more extensions without dots, separated by ", ".
    virtual int32_t GetExtension(char16_t* buffer, int32_t capacity) = 0;
    virtual int32_t GetVersion(char16_t* buffer, int32_t capacity) = 0;
    // Opens and parses a file (UTF-16 path), closing any file opened before.
    virtual int32_t OpenFile(const char16_t* path) = 0;
    // Parses a file image the caller keeps alive; parse failures show later in the size queries.
    virtual int32_t OpenMemory(const void* image, int32_t size) = 0;
    virtual int32_t GetTotalFrames(uint64_t* frames) = 0;
    virtual int32_t GetTotalBytes(uint64_t* bytes) = 0;
    // The frames, both inclusive, that the next Read delivers.
    virtual int32_t SetRange(uint64_t first, uint64_t last) = 0;
    // Copies each text followed by two zero bytes, and its encoding code.
    virtual int32_t GetTitleArtist(void* titleBuffer, int32_t titleSize, int32_t* titleEncoding, void* artistBuffer,
                                   int32_t artistSize, int32_t* artistEncoding) = 0;
    virtual int32_t GetFormat(PpiWaveFormat* format) = 0;
    // Delivers the range in a buffer owned by the plug-in, valid until ReleaseReadBuffer.
    virtual int32_t Read(void** data, uint32_t* bytes) = 0;
    virtual int32_t ReleaseReadBuffer() = 0;
    virtual int32_t IsMultiInstance(int32_t* out) = 0;
    // Range starts must be multiples of this many frames.
    virtual int32_t GetFrameGranularity(int32_t* frames) = 0;
    virtual int32_t IsDsd(int32_t* out) = 0;
    virtual int32_t SetOutputMode(int32_t mode) = 0;
    // The instance's table of narrow tag texts (keys "Artist", "encArtist", "Title", ...).
    virtual int32_t GetTagMap(const void** map) = 0;
    virtual ~CPlayerPluginIF() = default;
};

extern "C" {
typedef CPlayerPluginIF* (*PpiMakeInstanceFn)();
typedef void (*PpiReleaseInstanceFn)(CPlayerPluginIF* instance);
}
