# korvel_add_package(<name> SOURCES <file>...)
#
# Builds a package library: an in-process COM server named <name>.dll (also on Linux, so that
# one registry file serves both builds), with the SDK's helpers compiled in. The library
# exports DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer for
# the classes its KORVEL_PACKAGE_CLASSES names (korvel/PackageServer.h), and nothing of its
# own but what it marks for export.
#
# A package whose sources are all C gets the C helper alone; one with C++ sources gets the
# C++ helpers too (ComObject's census, Bstr, Subscription, ...).
#
# On Linux the Win32, COM and BSTR functions are left for the process that loads the package
# (the IDE stand-in) to provide, as Windows' own DLLs provide them there.
#
# Expects KORVEL_SDK_INCLUDE_DIR and KORVEL_SDK_HELPERS_DIR (find_package(KorvelSdk) sets them).

include_guard(GLOBAL)

# The server's plumbing is C, for packages in either language.
enable_language(C)

function(korvel_add_package name)
  cmake_parse_arguments(PACKAGE "" "" "SOURCES" ${ARGN})
  if(NOT PACKAGE_SOURCES)
    message(FATAL_ERROR "korvel_add_package(${name}): no SOURCES")
  endif()
  set(helpers ${KORVEL_SDK_HELPERS_DIR}/PackageServer.c)
  set(cxx_sources ${PACKAGE_SOURCES})
  list(FILTER cxx_sources INCLUDE REGEX "\\.(cpp|cxx|cc|C)$")
  if(cxx_sources)
    list(APPEND helpers ${KORVEL_SDK_HELPERS_DIR}/LiveObjects.cpp ${KORVEL_SDK_HELPERS_DIR}/Text.cpp
                        ${KORVEL_SDK_HELPERS_DIR}/ControlEvents.cpp ${KORVEL_SDK_HELPERS_DIR}/PackageWindow.cpp
                        ${KORVEL_SDK_HELPERS_DIR}/Bitmap.cpp)
  endif()
  add_library(${name} SHARED ${PACKAGE_SOURCES} ${helpers})
  target_include_directories(${name} PRIVATE ${KORVEL_SDK_INCLUDE_DIR})
  target_compile_features(${name} PRIVATE c_std_11)
  if(cxx_sources)
    target_compile_features(${name} PRIVATE cxx_std_17)
  endif()
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                        CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    # The entry points are marked for export and keep their names undecorated; nothing else of
    # the package, and none of the system DLLs' functions, leaves it.
    target_link_options(${name} PRIVATE -Wl,--kill-at)
    target_compile_definitions(${name} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601)
    target_link_libraries(${name} PRIVATE ole32 oleaut32 uuid user32 gdi32 advapi32)
  endif()
endfunction()
