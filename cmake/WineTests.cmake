# GoogleTest cross-built from Debian's sources, and a helper that registers a Wine test executable.
include_guard()
include(GoogleTest)

set(ATTENTE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ATTENTE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# attente_wine_test(NAME SOURCES... [LIBS libs...] [ENV VAR=VALUE...] [LOCK resource]):
# a GoogleTest exe run under Wine; the default system locale is French (France). LOCK names a shared
# resource (e.g. a registry key the tests delete) that ctest must not give to two tests at once.
function(attente_wine_test name)
  cmake_parse_arguments(ARG "" "LOCK" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine/support)
  set(env LC_ALL=fr_FR.UTF-8 ATTENTE_DIST_DIR=${ATTENTE_DIST_DIR} ${ARG_ENV})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120 RESOURCE_LOCK "${ARG_LOCK}")
endfunction()
