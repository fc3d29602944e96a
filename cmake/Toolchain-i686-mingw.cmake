# Cross build for 32-bit Windows with mingw-w64.
#
# The -posix compilers are required: the win32 threading flavour of libstdc++ has no std::mutex.
# The GCC runtimes stay shared (libgcc_s_dw2-1.dll, libstdc++-6.dll): a C++ exception that
# crosses from one of our DLLs into another only unwinds correctly when both use one runtime.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KORVEL_MINGW_TRIPLET i686-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${KORVEL_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KORVEL_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KORVEL_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests, try_run and custom commands run the produced programs under wine through this wrapper;
# it keeps a wine prefix inside the build folder and finds the shared runtimes by itself.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}" ABSOLUTE)
