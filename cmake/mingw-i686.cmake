# Cross toolchain: 32-bit Windows with clang and lld over mingw-w64's headers and libraries and GCC's
# C++ runtime (posix thread model: std::mutex for GoogleTest). lld removes unused functions one by one,
# where GNU ld keeps every function of an object whose unwind tables it keeps.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The runtime's folder is linked per target (Windows.cmake): the compiler check only compiles.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# clang 14 does not find Debian's GCC runtime for this target on its own (Windows.cmake names it).
execute_process(COMMAND i686-w64-mingw32-gcc-posix -print-libgcc-file-name
  OUTPUT_VARIABLE _attente_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET _attente_libgcc PARENT_PATH ATTENTE_POSIX_RUNTIME_DIR)
