# The About window and its factors picture. The program icon that Image2 shows is the Qt
# resource ":/pevrand/Pevrand.ico", linked into the program (pevrand_attach_resources).
add_library(pevrand_about STATIC
    ${CMAKE_CURRENT_LIST_DIR}/frmAbout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmAbout.h
    ${CMAKE_CURRENT_LIST_DIR}/FactorsPicture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FactorsPicture.h
)
target_include_directories(pevrand_about PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pevrand_about PUBLIC Qt6::Widgets PRIVATE pevrand_launcher pevrand_message)
pevrand_strict(pevrand_about)
