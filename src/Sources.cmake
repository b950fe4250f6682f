# The game's own sources, shared by the desktop build (CMakeLists.txt) and the
# browser build (web/CMakeLists.txt): QUENDLE_SOURCES holds everything but
# the entry point, QUENDLE_MAIN the entry point.
file(GLOB QUENDLE_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/shell/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/play/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/text/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/highscore/*.cpp)
set(QUENDLE_MAIN ${CMAKE_CURRENT_LIST_DIR}/shell/main.cpp)
list(REMOVE_ITEM QUENDLE_SOURCES ${QUENDLE_MAIN})
