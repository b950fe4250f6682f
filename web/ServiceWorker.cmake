# Writes SITE/sw.js, the page's service worker, for the files in the folder
# SITE: each file's SHA-256, and a build name made from all of them and the
# worker itself, so that any change of the page gives the worker new bytes and
# its cache a new name. Run on the installed page (web/CMakeLists.txt):
#   cmake -DSITE=FOLDER -P web/ServiceWorker.cmake
if(NOT IS_DIRECTORY "${SITE}")
    message(FATAL_ERROR "SITE must name the folder of the page, not \"${SITE}\"")
endif()
set(TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/sw.js)
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names sw.js)
list(SORT names)
file(SHA256 ${TEMPLATE} all)
set(FILES "")
foreach(name IN LISTS names)
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND FILES "\n  '${name}': '${hash}',")
    string(APPEND all " ${name} ${hash}")
endforeach()
string(SHA256 build "${all}")
string(SUBSTRING ${build} 0 16 BUILD)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
