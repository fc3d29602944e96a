# find_package(KorvelSdk): the package author's kit as installed.
get_filename_component(_korvel_sdk_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
set(KORVEL_SDK_INCLUDE_DIR ${_korvel_sdk_prefix}/include)
set(KORVEL_SDK_HELPERS_DIR ${_korvel_sdk_prefix}/share/KorvelSdk/helpers)
set(KORVEL_SDK_IDL_DIR ${_korvel_sdk_prefix}/share/KorvelSdk/idl)
include(${CMAKE_CURRENT_LIST_DIR}/KorvelPackage.cmake)
set(KorvelSdk_FOUND TRUE)
