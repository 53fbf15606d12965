// Security descriptors for the registry tests that meet keys as a user without every right does.
#pragma once

#include <windows.h>

namespace attente::test {

// Replaces the key's DACL (a null one grants everything, an empty one nothing) and, when given, its
// owner; the key must be open with WRITE_DAC (and WRITE_OWNER for an owner).
inline LONG SetKeySecurity(HKEY key, ACL* dacl, PSID owner = nullptr) {
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
    SECURITY_INFORMATION parts = DACL_SECURITY_INFORMATION;
    if (owner) {
        SetSecurityDescriptorOwner(&descriptor, owner, FALSE);
        parts |= OWNER_SECURITY_INFORMATION;
    }
    return RegSetKeySecurity(key, parts, &descriptor);
}

} // namespace attente::test
