// libFuzzer target for the module check: whatever the bytes, the check reads only inside them, and a
// module it accepts is then read whole as the module checker reads it (headers, the six strings,
// TFORM1), which trusts the check for every offset it follows. Under ASan a read outside the bytes
// fails the run.
#include "ModuleContents.h"

#include <cstdint>

namespace {

constexpr std::uint16_t kStrings[] = {65173, 65174, 65396, 65431, 65488, 65519};
constexpr std::uint32_t kRcData = 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto contents = attente::TModuleContents::Open(data, size);
    if (!contents) return 0;
    for (std::uint16_t id : kStrings)
        contents->String(id);
    contents->Resource(kRcData, "TFORM1");
    return 0;
}
