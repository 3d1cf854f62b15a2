# The system-information launcher: plain C++, no Qt. The About window, the unit tests and the
# Windows test driver (tests/wine, cross-built with MinGW) all link this one library.
#
# Paths are taken from this file's own place, so that tests/wine can include it as well.
get_filename_component(_pevrand_launcher_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)

# The platform layer: the registry on Windows, the desktop's own tool elsewhere.
if(WIN32)
    set(_pevrand_launcher_platform RegistryPlatform.cpp)
else()
    set(_pevrand_launcher_platform DesktopPlatform.cpp)
endif()

add_library(pevrand_launcher STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SysInfoLauncher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SysInfoLauncher.h
    ${CMAKE_CURRENT_LIST_DIR}/${_pevrand_launcher_platform}
)
target_include_directories(pevrand_launcher PUBLIC ${_pevrand_launcher_root})
if(WIN32)
    target_link_libraries(pevrand_launcher PUBLIC advapi32)
endif()
pevrand_strict(pevrand_launcher)
