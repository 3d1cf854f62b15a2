# The launcher over an in-memory registry, and, where there is no registry, its desktop layer.
pevrand_unit_test(launcher_tests LauncherTest.cpp InMemoryRegistry.h)
target_link_libraries(launcher_tests PRIVATE pevrand_launcher)

if(NOT WIN32)
    pevrand_unit_test(desktop_launcher_tests DesktopPlatformTest.cpp)
    target_link_libraries(desktop_launcher_tests PRIVATE pevrand_launcher)
endif()
