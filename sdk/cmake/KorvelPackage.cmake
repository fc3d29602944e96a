# korvel_add_package(<name> SOURCES <file>...)
#
# Builds a package library: an in-process COM server named <name>.dll (also on Linux, so that
# one registry file serves both builds), with the SDK's helpers compiled in. The library
# exports DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer for
# the classes its KORVEL_PACKAGE_CLASSES names.
#
# On Linux the Win32, COM and BSTR functions are left for the process that loads the package
# (the IDE stand-in) to provide, as Windows' own DLLs provide them there.
#
# Expects KORVEL_SDK_INCLUDE_DIR and KORVEL_SDK_HELPERS_DIR (find_package(KorvelSdk) sets them).

include_guard(GLOBAL)

function(korvel_add_package name)
  cmake_parse_arguments(PACKAGE "" "" "SOURCES" ${ARGN})
  if(NOT PACKAGE_SOURCES)
    message(FATAL_ERROR "korvel_add_package(${name}): no SOURCES")
  endif()
  add_library(${name} SHARED ${PACKAGE_SOURCES}
              ${KORVEL_SDK_HELPERS_DIR}/InprocServer.cpp
              ${KORVEL_SDK_HELPERS_DIR}/Text.cpp
              ${KORVEL_SDK_HELPERS_DIR}/ControlEvents.cpp)
  target_include_directories(${name} PRIVATE ${KORVEL_SDK_INCLUDE_DIR})
  target_compile_features(${name} PRIVATE cxx_std_17)
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                        CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    # The .def keeps the COM entry points' names undecorated.
    target_sources(${name} PRIVATE ${KORVEL_SDK_HELPERS_DIR}/KorvelPackage.def)
    target_compile_definitions(${name} PRIVATE UNICODE _UNICODE)
    target_link_libraries(${name} PRIVATE ole32 oleaut32 uuid user32 gdi32 advapi32)
  endif()
endfunction()
