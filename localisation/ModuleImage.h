// Checks a language module's bytes before the platform maps it as a data file: the resource functions
// trust the offsets in a module's resource tree, so a truncated or hostile file would make them read
// outside the mapping. Platform-free so that host tests and the sanitizers can see every byte read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace attente {

// True when `data` is a PE image (32- or 64-bit) that is not cut short (every section's raw data is
// in it) and whose resource tree lies inside it: the type, name and language levels, name strings,
// data entries, the data they point to, and the sixteen counted strings of every string block; and
// whose tree every lookup reads alike: named entries first, each part strictly ascending, names in no
// small letters and without a zero unit, one language per resource. An image without resources is
// sound (it simply has none).
bool IsSoundResourceImage(const std::uint8_t* data, std::size_t size);

} // namespace attente
