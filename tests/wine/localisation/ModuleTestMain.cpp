// Entry of the module-loading tests: GoogleTest, or the probe role when started as a fixture's exe.
#include "ModuleProbe.h"

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], attente::test::kProbeSwitch) == 0)
        return attente::test::RunModuleProbe(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
