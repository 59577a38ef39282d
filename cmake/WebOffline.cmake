# Writes the page's service worker, DIR/sw.js, from TEMPLATE: every other
# file in DIR with its SHA-256, and a version named from them all, so that a
# build with any file changed is a new version with a cache of its own.
#   cmake -DDIR=build-web/web -DTEMPLATE=platform/backends/web/page/sw.js.in -P WebOffline.cmake
if(NOT DIR OR NOT TEMPLATE)
  message(FATAL_ERROR "usage: cmake -DDIR=web-folder -DTEMPLATE=sw.js.in -P WebOffline.cmake")
endif()
file(GLOB_RECURSE names LIST_DIRECTORIES false RELATIVE ${DIR} ${DIR}/*)
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(listed "")
set(all "")
foreach(name IN LISTS names)
  file(SHA256 ${DIR}/${name} hash)
  string(APPEND listed "  [\"${name}\", \"${hash}\"],\n")
  string(APPEND all "${name} ${hash}\n")
endforeach()
string(SHA256 version "${all}")
string(SUBSTRING ${version} 0 16 VERSION)
set(FILES "[\n${listed}]")
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
