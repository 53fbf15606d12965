// The unwinder's function lookup: the program's real tables (our code's and the compiler runtime's,
// which encode addresses differently), then a hand-made table with the entries a lookup must pass by.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace attente {
[[noreturn]] void RaiseStreamError(const std::string& what);
}

namespace {

struct FrameBases {
    const void* text;
    const void* data;
    const void* function;
};

extern "C" {
const void* _Unwind_Find_FDE(const void* pc, FrameBases* bases);
const void* FindUnwindEntry(const std::uint8_t* table, const void* pc, FrameBases* bases);
}

const void* FunctionOf(const void* pc) {
    FrameBases bases{};
    return _Unwind_Find_FDE(pc, &bases) ? bases.function : nullptr;
}

TEST(FrameTables, FindsTheFunctionsOfTheProgram) {
    const auto* ours = reinterpret_cast<const char*>(&attente::RaiseStreamError);
    const auto* runtime = reinterpret_cast<const char*>(&std::rethrow_exception);
    EXPECT_EQ(FunctionOf(ours + 1), ours);
    EXPECT_EQ(FunctionOf(runtime + 1), runtime);
    EXPECT_EQ(FunctionOf(reinterpret_cast<const void*>(&GetTickCount)), nullptr);
    EXPECT_THROW(attente::RaiseStreamError("x"), std::exception);
}

// Little-endian table writer; pointers are 32-bit on this target.
struct Table {
    std::vector<std::uint8_t> bytes;
    void U8(std::uint8_t b) { bytes.push_back(b); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    // A common entry; returns its offset.
    std::size_t Common(const char* augmentation, std::vector<std::uint8_t> data) {
        const std::size_t at = bytes.size();
        U32(0);
        U32(0);
        U8(1);
        for (const char* c = augmentation; *c; ++c)
            U8(static_cast<std::uint8_t>(*c));
        U8(0);
        U8(1);    // code alignment
        U8(0x7c); // data alignment -4
        U8(8);    // return address column
        if (*augmentation == 'z') {
            U8(static_cast<std::uint8_t>(data.size()));
            bytes.insert(bytes.end(), data.begin(), data.end());
        }
        Patch32(at, static_cast<std::uint32_t>(bytes.size() - at - 4));
        return at;
    }
    // A function entry under `common`; with pc-relative addresses, `start` is made relative to where
    // the table will lie in memory (the table is not moved once built).
    void Function(std::size_t common, std::uint32_t start, std::uint32_t size, bool pcRelative,
                  bool augmented = true) {
        const std::size_t at = bytes.size();
        U32(0);
        U32(static_cast<std::uint32_t>(at + 4 - common));
        const std::size_t field = bytes.size();
        U32(start);
        U32(size);
        if (augmented) U8(0);
        if (pcRelative)
            Patch32(field,
                    start - static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&bytes[0]) + field));
        Patch32(at, static_cast<std::uint32_t>(bytes.size() - at - 4));
    }
};

TEST(FrameTables, PassesByEntriesItCannotUse) {
    Table t;
    t.bytes.reserve(512); // addresses in the table are final from here on
    const std::size_t relative = t.Common("zR", {0x1b});
    const std::size_t absolute = t.Common("zR", {0x00});
    const std::size_t withPersonality = t.Common("zPLR", {0x9b, 1, 2, 3, 4, 0x1b, 0x1b});
    const std::size_t plain = t.Common("", {});
    const std::size_t unknown = t.Common("zX", {0});
    t.Function(absolute, 0, 0xffffffff, false); // a dropped function: matches no address
    t.Function(unknown, 0x7000, 0x100, false);  // an encoding this reader does not know
    t.Function(relative, 0x5000, 0x100, true);
    t.Function(absolute, 0x5100, 0x10, false);
    t.Function(withPersonality, 0x6000, 0x20, true);
    t.Function(plain, 0x6100, 0x20, false, false);
    t.U32(0);
    t.Function(absolute, 0x8000, 0x100, false); // beyond the end marker

    const struct {
        std::uintptr_t pc;
        std::uintptr_t function;
    } cases[] = {
        {0x5000, 0x5000}, {0x50ff, 0x5000}, {0x5100, 0x5100}, {0x510f, 0x5100}, {0x5110, 0},
        {0x6010, 0x6000}, {0x6110, 0x6100}, {0x7010, 0},      {0x8010, 0},      {0x10, 0},
    };
    for (const auto& c : cases) {
        FrameBases bases{&t, &t, &t};
        const void* entry = FindUnwindEntry(t.bytes.data(), reinterpret_cast<const void*>(c.pc), &bases);
        EXPECT_EQ(entry != nullptr, c.function != 0) << std::hex << c.pc;
        if (entry) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bases.function), c.function) << std::hex << c.pc;
            EXPECT_EQ(bases.text, nullptr);
            EXPECT_EQ(bases.data, nullptr);
        }
    }
}

} // namespace
