// A byte source over one RCDATA resource of a module, sized by the resource directory so that no
// read can leave the resource.
#pragma once

#include "DescriptionStream.h"

#include <windows.h>

#include <memory>
#include <string>

namespace attente {

class TResourceStream : public TByteSource {
  public:
    // The RCDATA resource `name` of `module`, or null when the module has none of that name. A resource
    // that is listed but cannot be loaded raises EReadError.
    static std::unique_ptr<TResourceStream> Open(HINSTANCE module, const std::string& name);

    std::size_t Read(std::uint8_t* into, std::size_t count) override { return memory_.Read(into, count); }
    std::uint64_t Remaining() const override { return memory_.Remaining(); }

  private:
    TResourceStream(const void* data, std::size_t size) : memory_(data, size) {}
    // Resource memory belongs to the module's mapping and is never freed on its own.
    TMemorySource memory_;
};

} // namespace attente
