// .ico directory and bitmap header checks.
#include "IconFile.h"

#include "Exceptions.h"

#include <cstdlib>

namespace attente {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::uint16_t kIconType = 1;
constexpr int kLargestIcon = 256;

std::uint32_t Get16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at] | (d[at + 1] << 8));
}
std::uint32_t Get32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return Get16(d, at) | (Get16(d, at + 2) << 16);
}

[[noreturn]] void Bad(const char* what) {
    throw EReadError(std::string("Image d'icône incorrecte : ") + what);
}

// The bytes a bitmap icon image needs: header, palette, colour bits and mask, rows padded to 4 bytes.
bool BitmapFits(const std::vector<std::uint8_t>& d, std::size_t offset, std::size_t size) {
    if (size < kBitmapHeaderSize) return false;
    const std::uint32_t headerSize = Get32(d, offset);
    const auto width = static_cast<std::int32_t>(Get32(d, offset + 4));
    const auto doubledHeight = static_cast<std::int32_t>(Get32(d, offset + 8));
    const std::uint32_t bitCount = Get16(d, offset + 14);
    const std::uint32_t compression = Get32(d, offset + 16);
    const std::uint32_t colorsUsed = Get32(d, offset + 32);
    if (headerSize < kBitmapHeaderSize || headerSize > size) return false;
    if (width <= 0 || width > kLargestIcon || doubledHeight <= 0 || doubledHeight > 2 * kLargestIcon)
        return false;
    if (compression != 0) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
    const std::uint64_t height = static_cast<std::uint64_t>(doubledHeight) / 2;
    std::uint64_t paletteEntries = bitCount <= 8 ? (colorsUsed ? colorsUsed : (1u << bitCount)) : 0;
    if (paletteEntries > 256) return false;
    const std::uint64_t colourRow = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t maskRow = ((static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    const std::uint64_t needed = headerSize + paletteEntries * 4 + (colourRow + maskRow) * height;
    return needed <= size;
}

} // namespace

TIconImage PickIconImage(const std::vector<std::uint8_t>& file, int wantedSize) {
    if (file.size() < kDirectorySize) Bad("données trop courtes");
    if (Get16(file, 0) != 0 || Get16(file, 2) != kIconType) Bad("ce n'est pas un fichier d'icônes");
    const std::size_t count = Get16(file, 4);
    if (count == 0) Bad("aucune image");
    if (kDirectorySize + count * kEntrySize > file.size()) Bad("répertoire tronqué");

    TIconImage best;
    int bestDistance = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectorySize + i * kEntrySize;
        const std::uint64_t size = Get32(file, entry + 8);
        const std::uint64_t offset = Get32(file, entry + 12);
        if (offset + size > file.size()) Bad("image hors des données");
        if (!BitmapFits(file, static_cast<std::size_t>(offset), static_cast<std::size_t>(size))) continue;
        // The bitmap's own size counts, not the directory's, which may disagree.
        const auto width = static_cast<int>(Get32(file, static_cast<std::size_t>(offset) + 4));
        const auto height = static_cast<int>(Get32(file, static_cast<std::size_t>(offset) + 8) / 2);
        const int distance = std::abs(width - wantedSize);
        if (bestDistance < 0 || distance < bestDistance || (distance == bestDistance && width > best.Width)) {
            best = {static_cast<std::size_t>(offset), static_cast<std::size_t>(size), width, height};
            bestDistance = distance;
        }
    }
    if (bestDistance < 0) Bad("aucune image utilisable");
    return best;
}

} // namespace attente
