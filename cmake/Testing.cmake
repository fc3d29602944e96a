# GoogleTest for every build, and one helper to declare a test program.
#
# Targets provided: GTest::gtest, GTest::gtest_main, GTest::gmock, GTest::gmock_main.
#   native build:  Debian's prebuilt libraries (libgtest-dev, libgmock-dev)
#   Windows build: compiled from Debian's source package (googletest, /usr/src/googletest),
#                  because no mingw build of GoogleTest is packaged.
#
# korvel_add_test_executable(<name>
#     SOURCES <file>...
#     [LIBRARIES <target>...]
#     [NO_MAIN]                 link gtest/gmock without gtest_main (the sources have main)
#     [TIMEOUT <seconds>]
#     [WORKING_DIRECTORY <dir>])
#
# Under wine a process start can cost up to a second (when wine's server is not already up),
# so the Windows build registers each test program as one CTest test. The native build registers every test case on its own (found
# by running the program when CTest starts), so a failure names the case.

include_guard(GLOBAL)

set(KORVEL_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources, compiled in when no prebuilt library fits the target")

if(CMAKE_CROSSCOMPILING)
  set(_korvel_default_per_case OFF)
else()
  set(_korvel_default_per_case ON)
endif()
option(KORVEL_TEST_PER_CASE "Register each GoogleTest case as its own CTest test"
       ${_korvel_default_per_case})

if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest QUIET CONFIG)
  if(NOT TARGET GTest::gtest)
    find_package(GTest QUIET)
  endif()
endif()

if(NOT TARGET GTest::gtest OR NOT TARGET GTest::gmock)
  if(NOT EXISTS ${KORVEL_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR
      "GoogleTest not found: install libgtest-dev libgmock-dev (native) or googletest "
      "(sources, for the Windows build); scripts/test-all installs them.")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(gtest_build_tests OFF CACHE BOOL "" FORCE)
  set(gtest_build_samples OFF CACHE BOOL "" FORCE)
  # A static GoogleTest inside each test program; our own DLLs still share the GCC runtimes.
  set(_korvel_saved_shared ${BUILD_SHARED_LIBS})
  set(BUILD_SHARED_LIBS OFF)
  add_subdirectory(${KORVEL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest
                   EXCLUDE_FROM_ALL)
  set(BUILD_SHARED_LIBS ${_korvel_saved_shared})
  foreach(_korvel_lib gtest gtest_main gmock gmock_main)
    # GoogleTest is not our code: do not let our warning flags bury real warnings in noise.
    target_compile_options(${_korvel_lib} PRIVATE -w)
    if(NOT TARGET GTest::${_korvel_lib})
      add_library(GTest::${_korvel_lib} ALIAS ${_korvel_lib})
    endif()
  endforeach()
endif()

include(GoogleTest)

# The folders of the mingw runtime DLLs, asked once from the compiler and handed to wine-run,
# which would otherwise ask on every test start.
if(CMAKE_CROSSCOMPILING AND WIN32 AND NOT DEFINED KORVEL_MINGW_RUNTIME_DIRS)
  set(_korvel_dirs)
  foreach(_korvel_dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_korvel_dll}
                    OUTPUT_VARIABLE _korvel_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${_korvel_path}" AND EXISTS "${_korvel_path}")
      get_filename_component(_korvel_dir "${_korvel_path}" DIRECTORY)
      get_filename_component(_korvel_dir "${_korvel_dir}" REALPATH)
      list(APPEND _korvel_dirs "${_korvel_dir}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES _korvel_dirs)
  list(JOIN _korvel_dirs ":" _korvel_dirs)
  set(KORVEL_MINGW_RUNTIME_DIRS "${_korvel_dirs}" CACHE STRING
      "Folders of the mingw runtime DLLs that wine must find, ':'-separated")
endif()

function(korvel_add_test_executable name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "NO_MAIN" "TIMEOUT;WORKING_DIRECTORY"
                        "SOURCES;LIBRARIES")
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "korvel_add_test_executable(${name}): SOURCES is required")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(NOT ARG_WORKING_DIRECTORY)
    set(ARG_WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    if(NOT ARG_WORKING_DIRECTORY)
      set(ARG_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
  endif()

  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gmock GTest::gtest ${ARG_LIBRARIES})
  else()
    target_link_libraries(${name} PRIVATE GTest::gmock GTest::gtest_main ${ARG_LIBRARIES})
  endif()

  set(_env)
  if(CMAKE_CROSSCOMPILING)
    # One wine prefix per build folder, shared by all its tests.
    list(APPEND _env KORVEL_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
    if(KORVEL_MINGW_RUNTIME_DIRS)
      list(APPEND _env "KORVEL_MINGW_RUNTIME_DIRS=${KORVEL_MINGW_RUNTIME_DIRS}")
    endif()
  endif()

  if(KORVEL_TEST_PER_CASE)
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${_env}")
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no
             WORKING_DIRECTORY ${ARG_WORKING_DIRECTORY})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(_env)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}")
    endif()
  endif()
endfunction()
