# Windows test programs run under Wine (the win64 and win32 builds with PROJECT_WINE_TESTS):
# the 64-bit build under the host's Wine, the 32-bit build under Wine 10 in WoW64 mode inside
# the Debian 13 tree of tools/wow64/tree.sh (ctest runs within `tree.sh around`).
#
# project_wine_test(NAME SOURCES ... [LIBS ...] [SERIAL] [TIMEOUT SECONDS])
#   A GoogleTest program for Windows that runs under Wine in the build's test session (a
#   virtual display, a private prefix). Each test case runs in a new empty folder. SERIAL runs
#   its cases one at a time and apart from every other test (for tests that depend on the
#   foreground window or look windows up by class). TIMEOUT (default 60 s) ends a hung case.
#   Links win32_test_support (dialog and window helpers) and its main with a dialog watchdog, which fails
#   a case whose dialog stays up unanswered for 10 s. Does nothing in other builds.

option(PROJECT_WINE_TESTS "Build the tests for Windows and run them under Wine" OFF)

if(PROJECT_WINE_TESTS)
  if(NOT WIN32)
    message(FATAL_ERROR "PROJECT_WINE_TESTS needs a Windows build (preset win64 or win32)")
  endif()
  # A 32-bit build's tests run under the Wine of the tree (a 64-bit one may, to compare Wine
  # versions); session.sh and wine-exec.sh take --tree for it.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(tree_default ON)
  else()
    set(tree_default OFF)
  endif()
  option(PROJECT_WINE_TREE "Run the Windows tests under Wine 10 in tools/wow64/tree.sh"
         ${tree_default})
  set(PROJECT_WINE_MODE)
  if(PROJECT_WINE_TREE)
    set(PROJECT_WINE_MODE --tree)
  endif()
  # ctest runs the Windows test programs (and lists their cases) through this wrapper.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine/wine-exec.sh --build
                                    ${CMAKE_BINARY_DIR} ${PROJECT_WINE_MODE})
endif()

# The session fixture and the GUI test support library, once GoogleTest is there.
macro(project_wine_support)
  if(PROJECT_WINE_TESTS)
    add_subdirectory(${PROJECT_SOURCE_DIR}/tools/wine ${CMAKE_BINARY_DIR}/tools/wine)
    add_subdirectory(${PROJECT_SOURCE_DIR}/testing/win32 ${CMAKE_BINARY_DIR}/testing/win32)
  endif()
endmacro()

# The discovery of a Wine test program's cases and their ctest properties.
function(project_wine_discover_tests name)
  cmake_parse_arguments(D "" "TIMEOUT" "PROPERTIES" ${ARGN})
  if(NOT D_TIMEOUT)
    set(D_TIMEOUT 60)
  endif()
  # The cases are listed when ctest starts, in the session that the first listing starts
  # (booting a fresh prefix if needed); the session needs the keepalive program.
  add_dependencies(${name} wine_keepalive)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT ${D_TIMEOUT}
                                  ${D_PROPERTIES})
endfunction()

function(project_wine_test name)
  if(NOT PROJECT_WINE_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "SERIAL" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} win32_test_support) # its main
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
                        "${CMAKE_CROSSCOMPILING_EMULATOR};--fresh-dir")
  set(extra)
  if(T_SERIAL)
    set(extra RUN_SERIAL TRUE)
  endif()
  project_wine_discover_tests(${name} TIMEOUT "${T_TIMEOUT}" PROPERTIES ${extra})
endfunction()
