// The fixed numbers of the window description stream (layout in docs/description-format.md): shared
// by the reader, the writer and the description compiler so they cannot drift apart.
#pragma once

#include <cstddef>
#include <cstdint>

namespace attente {

constexpr std::uint8_t kDescriptionMagic[4] = {'A', 'T', 'W', 'D'};
constexpr std::uint16_t kDescriptionVersion = 1;

// Record flag bits; any other bit set in a stream is a read error.
constexpr std::uint8_t kRecordInherited = 0x01;
constexpr std::uint8_t kKnownRecordFlags = kRecordInherited;

// The root record is level 1; deeper nesting is refused before it can exhaust the stack.
constexpr int kMaxNesting = 16;

// Names (classes, components, properties, identifiers) carry a one-byte length.
constexpr std::size_t kMaxNameLength = 255;
// Counts carry two bytes.
constexpr std::size_t kMaxCount = 0xFFFF;
// At most this many properties in one record and records in one stream: far above what any window
// has, and what keeps the checks for repeated names, plain scans, cheap on a hostile stream.
constexpr std::size_t kMaxProperties = 256;
constexpr std::size_t kMaxRecords = 1024;

// The read buffer between the resource and the reader.
constexpr std::size_t kReadBufferSize = 4096;

} // namespace attente
