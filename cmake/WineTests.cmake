# GoogleTest cross-built from Debian's sources, and a helper that registers a Wine test executable.
include_guard()
include(GoogleTest)

set(ATTENTE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ATTENTE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# CMake 3.25's gtest_discover_tests re-expands PROPERTIES values several times before it writes the
# test script, so a list-valued ENVIRONMENT reached the tests cut to its first variable. Seven
# backslashes are what survive those expansions as one list separator (checked with
# ctest --show-only=json-v1).
function(attente_escape_test_env var)
  string(REPLACE ";" [=[\\\\\\\;]=] escaped "${${var}}")
  set(${var} "${escaped}" PARENT_SCOPE)
endfunction()

# attente_wine_test(NAME [SERIAL] [FILTER filter] SOURCES... [LIBS libs...] [ENV VAR=VALUE...]):
# a GoogleTest exe run under Wine; the default system locale is French (France). FILTER: a GoogleTest
# filter for the tests registered (others are registered on their own terms). SERIAL: its tests
# change what the whole prefix sees (the screen density) and run with no other test beside them.
function(attente_wine_test name)
  cmake_parse_arguments(ARG "SERIAL" "FILTER" "SOURCES;LIBS;ENV" ${ARGN})
  set(filter)
  if(ARG_FILTER)
    set(filter TEST_FILTER ${ARG_FILTER})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${ARG_LIBS})
  # The generated folder holds Form1Layout.h: tests take the status window's layout from its description.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/support ${ATTENTE_GENERATED_DIR})
  add_dependencies(${name} attente_descriptions)
  set(env LC_ALL=fr_FR.UTF-8 ATTENTE_DIST_DIR=${ATTENTE_DIST_DIR} ${ARG_ENV})
  attente_escape_test_env(env)
  gtest_discover_tests(${name} ${filter}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120 RUN_SERIAL ${ARG_SERIAL})
endfunction()
