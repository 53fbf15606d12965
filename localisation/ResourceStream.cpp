// Streams over RCDATA resources.
#include "ResourceStream.h"

#include "Exceptions.h"
#include "TextFormat.h"

namespace attente {

std::unique_ptr<TResourceStream> TResourceStream::Open(HINSTANCE module, const std::string& name) {
    HRSRC info = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!info) return nullptr;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data && size) throw EReadError(Concat({"Ressource ", name, " illisible"}));
    return std::unique_ptr<TResourceStream>(new TResourceStream(data, size));
}

} // namespace attente
