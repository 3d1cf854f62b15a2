# The main window frmPevrand and its small Qt helpers.
add_library(pevrand_mainwindow STATIC
    frmPevrand.cpp frmPevrand.h
    OptionGroup.cpp OptionGroup.h
    WidgetEvents.cpp WidgetEvents.h
)
target_include_directories(pevrand_mainwindow PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pevrand_mainwindow PUBLIC pevrand_convert pevrand_message Qt6::Widgets
                                         PRIVATE pevrand_about)
pevrand_strict(pevrand_mainwindow)
