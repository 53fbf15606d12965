# Windows-side settings: static runtime, size-lean code, Wine as the test emulator, host tools.
include_guard()

set(ATTENTE_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
set(ATTENTE_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ATTENTE_WINE_RUN} --root ${ATTENTE_WINE_ROOT})

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# GCC's C++ headers, and type_info compared out of line as that runtime was built to (GCC predefines
# this for the target, clang does not).
set(_cxx ${ATTENTE_POSIX_RUNTIME_DIR}/include/c++)
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-nostdinc++;-isystem${_cxx};-isystem${_cxx}/i686-w64-mingw32;-isystem${_cxx}/backward;-D__GXX_TYPEINFO_EQUALITY_INLINE=0>")
# Static C++ runtime so that the exe imports only system DLLs; no timestamps in PE headers.
add_link_options(-static -Wl,--no-insert-timestamp)
add_compile_options(-ffunction-sections -fdata-sections)
# Smallest code, optimised across objects at link time. A fixed frame pointer keeps the unwind tables
# short: without it every argument push on this 32-bit target moves the frame and needs a table row.
add_compile_options(-Oz -flto -fno-omit-frame-pointer)
# lld links (language modules keep GNU ld for their linker script: cmake/ResourceModule.cmake).
add_link_options(-fuse-ld=lld)
# The program runs C++ on one thread only: function-local statics need no guard against a second.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
# Every program links the posix thread model's runtime but the exe, which links the win32 one
# (app/CMakeLists.txt); the tests need the posix model's std::mutex.
execute_process(COMMAND i686-w64-mingw32-gcc-win32 -print-libgcc-file-name
  OUTPUT_VARIABLE ATTENTE_WIN32_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET ATTENTE_WIN32_LIBGCC PARENT_PATH ATTENTE_WIN32_RUNTIME_DIR)
add_link_options(-Wl,--gc-sections)
# -B: the runtime's own crtbegin.o/crtend.o, which register the unwind tables with the unwinder
# (mingw-w64's stand-ins register nothing, and every exception would end the process).
add_link_options(-B${ATTENTE_POSIX_RUNTIME_DIR})
link_directories(${ATTENTE_POSIX_RUNTIME_DIR})

# Everything that ships lands in one distribution folder: the exe beside its language modules.
set(ATTENTE_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(ATTENTE_EXE_BASE attente)

# The description compiler and the module checker run on the build machine, so when cross-building it is a host project.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(ATTENTE_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${ATTENTE_HOST_TOOLS_DIR}
    CMAKE_ARGS -DATTENTE_TESTS=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=
               -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${ATTENTE_HOST_TOOLS_DIR}/tools/formc ${ATTENTE_HOST_TOOLS_DIR}/tools/modcheck
                     ${ATTENTE_HOST_TOOLS_DIR}/tools/pechecksum)
  set(ATTENTE_FORMC ${ATTENTE_HOST_TOOLS_DIR}/tools/formc)
  set(ATTENTE_MODCHECK ${ATTENTE_HOST_TOOLS_DIR}/tools/modcheck)
  set(ATTENTE_PECHECKSUM ${ATTENTE_HOST_TOOLS_DIR}/tools/pechecksum)
  set(ATTENTE_FORMC_TARGET host_tools)
else()
  set(ATTENTE_FORMC $<TARGET_FILE:formc>)
  set(ATTENTE_MODCHECK $<TARGET_FILE:modcheck>)
  set(ATTENTE_PECHECKSUM $<TARGET_FILE:pechecksum>)
  set(ATTENTE_FORMC_TARGET formc)
endif()
