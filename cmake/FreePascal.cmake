# Free Pascal for the Pascal packages (the example and the tests' own), whenever it is there and
# always when the tests are built: natively the machine's fpc; in the Windows build a target
# for i386-win32 that scripts/build-fpc-win32 makes from Debian's packages, once, into the
# build folder.
#
# Sets KORVEL_HAVE_FPC, and for the Windows build KORVEL_FPC_WIN32 and
# KORVEL_FPC_WIN32_DEPENDS for korvel_add_pascal_package.

include_guard(GLOBAL)

find_program(KORVEL_FPC fpc)
if(KORVEL_FPC)
  set(KORVEL_HAVE_FPC ON)
elseif(KORVEL_TESTS)
  message(FATAL_ERROR "Free Pascal not found: install fp-compiler fp-utils fpc-source (scripts/test-all does)")
else()
  set(KORVEL_HAVE_FPC OFF)
  message(STATUS "Free Pascal not found: the Pascal example package is left out")
endif()

if(WIN32 AND KORVEL_HAVE_FPC)
  set(KORVEL_FPC_WIN32 ${CMAKE_BINARY_DIR}/fpc-i386-win32)
  add_custom_command(OUTPUT ${KORVEL_FPC_WIN32}/fpc-i386-win32.cfg
                     COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-fpc-win32 ${KORVEL_FPC_WIN32}
                     COMMENT "Building Free Pascal for i386-win32 (once, about half a minute)"
                     VERBATIM)
  add_custom_target(KorvelFreePascalWin32 DEPENDS ${KORVEL_FPC_WIN32}/fpc-i386-win32.cfg)
  set(KORVEL_FPC_WIN32_DEPENDS KorvelFreePascalWin32)
endif()
