// The module checker's rules: what a language module must hold for the program to speak through it,
// and that it holds nothing that could run. Portable, so the build machine checks every module it
// links and a translator can check a module before shipping it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace attente {

enum class TCheckScope {
    Complete, // a module that ships: the six texts and the status window's description too
    CodeOnly, // a deliberately incomplete module (tests): only that it is a sound resource-only image
};

// The faults of the module `bytes`, each as "<fileName>: <what is wrong>"; empty when it passes.
// `fileName` is the module's file name (no directory); its extension must name the module's language.
std::vector<std::string> CheckModule(const std::string& fileName, const std::vector<std::uint8_t>& bytes,
                                     TCheckScope scope);

// The %s and %p conversions of a template, in order, as the program's formatter sees them ("%%" is a
// literal percent sign and takes nothing): "ssp" for "%s, %s at %p".
std::string Placeholders(const std::u16string& text);

} // namespace attente
