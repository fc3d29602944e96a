# korvel_add_pascal_package(<name> SOURCE <library.lpr> [UNITS <unit.pas>...])
#
# Builds a package library written in Free Pascal (Delphi mode) against the SDK's Pascal units:
# <name>.dll, also on Linux, so that one registry file serves both builds; into
# CMAKE_LIBRARY_OUTPUT_DIRECTORY when it is set, else the current binary folder. UNITS are the
# library's own units, listed so that a change to one rebuilds it.
#
# Natively it compiles with the machine's fpc (Debian's fp-compiler). For Windows (a mingw
# toolchain file) it needs a Free Pascal target for i386-win32: KORVEL_FPC_WIN32 names the
# folder that the repository's scripts/build-fpc-win32 makes, and KORVEL_FPC_WIN32_DEPENDS
# may name a target that makes it.
#
# Expects KORVEL_SDK_PASCAL_DIR (find_package(KorvelSdk) sets it).

include_guard(GLOBAL)

function(korvel_add_pascal_package name)
  cmake_parse_arguments(PACKAGE "" "SOURCE" "UNITS" ${ARGN})
  if(NOT PACKAGE_SOURCE)
    message(FATAL_ERROR "korvel_add_pascal_package(${name}): no SOURCE")
  endif()
  if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    if(NOT KORVEL_FPC_WIN32)
      message(FATAL_ERROR "korvel_add_pascal_package(${name}): set KORVEL_FPC_WIN32 to a Free Pascal target for "
                          "i386-win32 (scripts/build-fpc-win32 DEST makes one)")
    endif()
    set(compiler ${KORVEL_FPC_WIN32}/bin/ppcross386 -n @${KORVEL_FPC_WIN32}/fpc-i386-win32.cfg)
    set(compiler_files ${KORVEL_FPC_WIN32}/fpc-i386-win32.cfg)
  else()
    find_program(KORVEL_FPC fpc)
    if(NOT KORVEL_FPC)
      message(FATAL_ERROR "korvel_add_pascal_package(${name}): fpc not found (install fp-compiler)")
    endif()
    set(compiler ${KORVEL_FPC})
    set(compiler_files ${KORVEL_FPC})
  endif()

  if(CMAKE_LIBRARY_OUTPUT_DIRECTORY)
    set(folder ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
  else()
    set(folder ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(library ${folder}/${name}.dll)
  # Each library compiles the SDK's units into a folder of its own.
  set(units ${CMAKE_CURRENT_BINARY_DIR}/${name}.units)
  get_filename_component(source ${PACKAGE_SOURCE} ABSOLUTE)
  file(GLOB sdk_units ${KORVEL_SDK_PASCAL_DIR}/*.pas)
  add_custom_command(OUTPUT ${library}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${units} ${folder}
                     COMMAND ${compiler} -l- -v0ew -Mdelphi -O2 -Fu${KORVEL_SDK_PASCAL_DIR} -FU${units} -o${library}
                             ${source}
                     DEPENDS ${source} ${PACKAGE_UNITS} ${sdk_units} ${compiler_files}
                     COMMENT "Compiling the Pascal package ${name}"
                     VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${library})
  if(CMAKE_SYSTEM_NAME STREQUAL "Windows" AND KORVEL_FPC_WIN32_DEPENDS)
    add_dependencies(${name} ${KORVEL_FPC_WIN32_DEPENDS})
  endif()
endfunction()
