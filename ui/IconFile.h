// Picks an image out of .ico file bytes (a picture property's data, from an untrusted module) after
// checking that every size and offset it relies on lies inside the data. Portable, so it is fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace attente {

struct TIconImage {
    std::size_t Offset = 0; // of the image's bitmap header in the file
    std::size_t Size = 0;
    int Width = 0;
    int Height = 0;
};

// The bitmap image closest to `wantedSize` pixels square (the larger on a tie); compressed (PNG)
// images are skipped. Raises EReadError when the data is not an icon file or holds no usable image.
TIconImage PickIconImage(const std::vector<std::uint8_t>& file, int wantedSize);

} // namespace attente
