// The error box for a failure that escapes start-up, shown before the process ends with exit code 1.
#pragma once

#include <cstdint>

namespace attente {

constexpr int kStartupFailureExitCode = 1;

// Task-modal, no owner, error icon; title and text from the resource source, the text filled with
// the failure's kind, the executable's file name, `codeAddress` as an offset in the exe's image, and
// the message. A resource source lacking the texts still gives a readable box. The failure is the
// exception being handled: call it from the handler that caught it.
void ShowStartupFailure(std::uintptr_t codeAddress) noexcept;

} // namespace attente
