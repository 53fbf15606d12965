// libFuzzer target for the description stream reader: any input either raises EReadError or reads
// into a tree that writes back to the very same bytes, whatever the chunks the source delivers; icon
// data found in it goes through the icon checks too.
#include "DescriptionTree.h"
#include "Exceptions.h"
#include "IconFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using namespace attente;

// Delivers at most `chunk` bytes per read, so buffer refills fall anywhere in the stream.
class TChunkedSource : public TByteSource {
  public:
    TChunkedSource(const std::uint8_t* data, std::size_t size, std::size_t chunk)
        : data_(data), size_(size), chunk_(chunk) {}
    std::size_t Read(std::uint8_t* into, std::size_t count) override {
        const std::size_t n = std::min({count, chunk_, size_ - position_});
        if (n) std::memcpy(into, data_ + position_, n);
        position_ += n;
        return n;
    }
    std::uint64_t Remaining() const override { return size_ - position_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t chunk_;
    std::size_t position_ = 0;
};

constexpr int kIconSize = 32;

void CheckIcons(const TDescriptionRecord& record) {
    for (const TDescriptionProperty& property : record.Properties) {
        if (property.Value.Type != TValueType::Binary) continue;
        try {
            const TIconImage image = PickIconImage(property.Value.Bytes, kIconSize);
            if (image.Offset + image.Size > property.Value.Bytes.size()) std::abort();
        } catch (const EReadError&) {
        }
    }
    for (const TDescriptionRecord& child : record.Children)
        CheckIcons(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool whole = false;
    TDescriptionRecord tree;
    try {
        TMemorySource source(data, size);
        tree = ReadDescriptionTree(source);
        whole = true;
    } catch (const EReadError&) {
    }
    // Chunking must not change the outcome.
    bool chunked = false;
    try {
        TChunkedSource source(data, size, size % 7 + 1);
        chunked = ReadDescriptionTree(source) == tree;
    } catch (const EReadError&) {
        chunked = false;
    }
    if (whole != chunked) std::abort();
    if (!whole) return 0;
    // The format has one spelling per tree: what reads must write back byte for byte.
    const std::vector<std::uint8_t> written = WriteDescription(tree);
    if (written.size() != size || std::memcmp(written.data(), data, size) != 0) std::abort();
    CheckIcons(tree);
    return 0;
}
