// Icon file checks: the right image is picked, and no size or offset in a damaged file can send a
// reader outside the data.
#include "Exceptions.h"
#include "IconFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace attente;

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Set32(std::vector<std::uint8_t>& out, std::size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct TImageSpec {
    unsigned Size;
    unsigned BitCount;
};

// An icon file of bitmap images of the given sizes and depths, each with the bytes it needs.
std::vector<std::uint8_t> IconFile(const std::vector<TImageSpec>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0), Put16(out, 1), Put16(out, static_cast<unsigned>(images.size()));
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const TImageSpec& image : images) {
        const unsigned palette = image.BitCount <= 8 ? (1u << image.BitCount) : 0;
        const unsigned colourRow = ((image.Size * image.BitCount + 31) / 32) * 4;
        const unsigned maskRow = ((image.Size + 31) / 32) * 4;
        std::vector<std::uint8_t> body;
        Put32(body, 40), Put32(body, image.Size), Put32(body, 2 * image.Size), Put16(body, 1),
            Put16(body, image.BitCount);
        for (int i = 0; i < 6; ++i)
            Put32(body, 0);
        body.resize(body.size() + palette * 4 + (colourRow + maskRow) * image.Size, 0x5A);
        bodies.push_back(body);
    }
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].Size & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[i].Size & 0xFF));
        out.push_back(0), out.push_back(0);
        Put16(out, 1), Put16(out, images[i].BitCount);
        Put32(out, static_cast<unsigned>(bodies[i].size())), Put32(out, static_cast<unsigned>(offset));
        offset += bodies[i].size();
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace

TEST(IconFile, PicksTheImageClosestToTheWantedSize) {
    struct Case {
        std::vector<TImageSpec> images;
        int width;
    };
    const Case cases[] = {
        {{{32, 4}}, 32},
        {{{16, 4}, {32, 8}, {48, 32}}, 32},
        {{{16, 4}, {48, 4}}, 48}, // a tie goes to the larger
        {{{256, 32}, {16, 1}}, 16},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> file = IconFile(c.images);
        const TIconImage image = PickIconImage(file, 32);
        EXPECT_EQ(image.Width, c.width);
        EXPECT_EQ(image.Height, c.width);
        EXPECT_LE(image.Offset + image.Size, file.size());
    }
}

TEST(IconFile, TheCommittedClockIsA32PixelSixteenColourIcon) {
    std::ifstream in(ATTENTE_SOURCE_DIR "/resources/clock.ico", std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    const TIconImage image = PickIconImage(file, 32);
    EXPECT_EQ(image.Width, 32);
    EXPECT_EQ(image.Height, 32);
    EXPECT_EQ(file[image.Offset + 14], 4); // bits per pixel
}

TEST(IconFile, DamagedFilesRaiseReadErrors) {
    const std::vector<std::uint8_t> good = IconFile({{32, 4}});
    const std::size_t entry = 6, header = 22;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"directory only", {0, 0, 1, 0}});
    auto with = [&](const char* what, auto change) {
        std::vector<std::uint8_t> file = good;
        change(file);
        cases.push_back({what, file});
    };
    with("cursor type", [](auto& f) { f[2] = 2; });
    with("no image", [](auto& f) { f[4] = 0; });
    with("more entries than bytes", [](auto& f) { f[4] = 200; });
    with("offset past the end", [&](auto& f) { Set32(f, entry + 12, 0xFFFFFFF0u); });
    with("size past the end", [&](auto& f) { Set32(f, entry + 8, 0xFFFFFFF0u); });
    with("offset plus size wraps", [&](auto& f) {
        Set32(f, entry + 12, 0x80000000u);
        Set32(f, entry + 8, 0x80000000u);
    });
    with("image shorter than a header", [&](auto& f) { Set32(f, entry + 8, 20); });
    with("header size too small", [&](auto& f) { Set32(f, header, 12); });
    with("header size beyond the image", [&](auto& f) { Set32(f, header, 100000); });
    with("zero width", [&](auto& f) { Set32(f, header + 4, 0); });
    with("huge width", [&](auto& f) { Set32(f, header + 4, 70000); });
    with("negative height", [&](auto& f) { Set32(f, header + 8, 0xFFFFFFC0u); });
    with("odd bit count", [&](auto& f) { f[header + 14] = 3; });
    with("compressed", [&](auto& f) { Set32(f, header + 16, 1); });
    with("palette too large", [&](auto& f) { Set32(f, header + 32, 1000); });
    with("bits cut short", [&](auto& f) {
        f.pop_back();
        Set32(f, entry + 8, static_cast<unsigned>(f.size() - header));
    });
    with("compressed image only", [&](auto& f) { std::copy_n("\x89PNG\r\n\x1a\n", 8, f.begin() + header); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(PickIconImage(c.file, 32), EReadError);
    }
}
