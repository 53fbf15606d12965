// pechecksum FILE: fills in the checksum of a PE file's optional header, which our linker leaves at
// zero. Signing tools write it, so a signature removed again gives back the very bytes that were
// signed only when the unsigned file carries it already. Exit 1 when the file is not a PE image.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kChecksumInOptionalHeader = 64; // after the signature (4) and file header (20)
constexpr std::size_t kOptionalHeaderStart = 24;

std::uint32_t Read32(const std::vector<unsigned char>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The image checksum: the file's 16-bit words added with end-around carry, the checksum field
// counted as zero, plus the file's length.
std::uint32_t ImageChecksum(const std::vector<unsigned char>& bytes, std::size_t field) {
    std::uint64_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        if (at >= field && at < field + 4) continue;
        sum += bytes[at] | (at + 1 < bytes.size() ? bytes[at + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pechecksum FILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) return 2;
    if (bytes.size() < kPeOffsetField + 4) return 1;
    const std::size_t pe = Read32(bytes, kPeOffsetField);
    const std::size_t field = pe + kOptionalHeaderStart + kChecksumInOptionalHeader;
    if (pe > bytes.size() || field + 4 > bytes.size() || Read32(bytes, pe) != 0x4550) {
        std::cerr << argv[1] << ": not a PE image\n";
        return 1;
    }
    const std::uint32_t checksum = ImageChecksum(bytes, field);
    for (int i = 0; i < 4; ++i)
        bytes[field + i] = static_cast<unsigned char>(checksum >> (8 * i));
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 2;
}
