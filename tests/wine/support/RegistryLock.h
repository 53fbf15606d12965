// Serialises Wine tests that touch "Software\Attente\Locales" (or run programs that read it): ctest
// runs test processes in parallel, and one test's per-user key or default value changes what
// another's start-up selection sees. Hold a TRegistryLock for the whole case.
#pragma once

#include "Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace attente::test {

class TRegistryLock {
  public:
    // A named mutex is shared by every process of the same Wine prefix. A holder that dies leaves
    // it abandoned, which still hands it over. One that hangs holds it until ctest ends it: the wait
    // gives up before this test's own timeout, and says why.
    TRegistryLock() : mutex_(CreateMutexA(nullptr, FALSE, "AttenteLocalesRegistryTestLock")) {
        if (mutex_ && WaitForSingleObject(mutex_.Get(), kLimitMs) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "another test process held the registry lock for " << kLimitMs / 1000 << " s";
            mutex_ = TKernelHandle();
        }
    }
    ~TRegistryLock() {
        if (mutex_) ReleaseMutex(mutex_.Get());
    }
    TRegistryLock(const TRegistryLock&) = delete;
    TRegistryLock& operator=(const TRegistryLock&) = delete;

  private:
    static constexpr DWORD kLimitMs = 90000;
    TKernelHandle mutex_;
};

} // namespace attente::test
