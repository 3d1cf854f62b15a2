# The About window on the offscreen platform, and its factors picture.
pevrand_window_test(about_window_tests AboutWindowTest.cpp)
target_link_libraries(about_window_tests PRIVATE pevrand_about)
pevrand_attach_resources(about_window_tests)

pevrand_window_test(factors_picture_tests FactorsPictureTest.cpp)
target_link_libraries(factors_picture_tests PRIVATE pevrand_about)
