# The browser build (.ci/web-build): the game as WebAssembly and the page
# that runs it, together in web/ of the build folder.
set(VORBLOX_WEB_DIR ${CMAKE_BINARY_DIR}/web)
set(page_sources ${CMAKE_SOURCE_DIR}/platform/backends/web/page)

set_target_properties(vorblox PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${VORBLOX_WEB_DIR})
target_link_options(vorblox PRIVATE
  # The program's waits block: Asyncify unwinds them into the browser's
  # event loop and comes back (backends/web/BrowserWait.cpp).
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=32768
  # A factory the page calls, once per game (a new game is a new instance).
  -sMODULARIZE -sEXPORT_NAME=createVorblox -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH -sEXPORTED_RUNTIME_METHODS=FS
  # A program that returns from main is over; its page says so.
  -sEXIT_RUNTIME=0
  # Windows never maps the first 64 KB, so a resource or class name below
  # that is a number (IS_INTRESOURCE); WebAssembly's data starts at 1 KB.
  -sGLOBAL_BASE=65536
  # The page is downloaded: the smallest code, and the small allocator (the
  # game allocates a few surfaces and keeps them).
  -Oz -sMALLOC=emmalloc
  # Optimised once more after Asyncify has instrumented the waits.
  -sBINARYEN_EXTRA_PASSES=-Oz
  # The page's own options to the factory (vorblox-page.js), and no others
  # read; the game's callbacks (onWatch, onGameEnd...) are read as called.
  -sINCOMING_MODULE_JS_API=[canvas,thisProgram,arguments,preRun,print,printErr])
# Emscripten's JavaScript through the Closure Compiler, where one is given
# (.ci/web-build installs the one this Emscripten was made with); the
# externs name what the page's scripts use of it.
set(VORBLOX_CLOSURE_COMPILER "" CACHE FILEPATH "google-closure-compiler for the page's JavaScript")
set(closure_env "")
if(VORBLOX_CLOSURE_COMPILER)
  target_link_options(vorblox PRIVATE --closure 1 --closure-args=--externs=${CMAKE_SOURCE_DIR}/cmake/WebClosureExterns.js)
  set(closure_env ${CMAKE_COMMAND} -E env EM_CLOSURE_COMPILER=${VORBLOX_CLOSURE_COMPILER})
endif()
# Asyncify on the functions that can wait only (cmake/WebAsyncify.py): its
# own analysis takes every indirect call for one that may wait, and
# instruments most of the program for it. The game itself waits in its
# message loop and its keyboard read (both in main) alone; the page never
# uses SDL's presenter (the canvas presenter serves every window); SDL's
# spin lock sleeps only while another thread holds it, and the page has one.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set_property(TARGET vorblox PROPERTY CXX_LINKER_LAUNCHER ${closure_env}
  ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/WebAsyncify.py
  --host "plat::*" --host main --host "KeyboardDevice::*"
  --unused "plat::(anonymous namespace)::SdlPresenter::*" --unused Emscripten_UpdateWindowFramebuffer
  --cut SDL_AtomicLock=SDL_Delay --)
set_property(TARGET vorblox APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/cmake/WebAsyncify.py ${CMAKE_SOURCE_DIR}/cmake/WebClosureExterns.js)
file(GLOB page_files CONFIGURE_DEPENDS ${page_sources}/*)
list(FILTER page_files EXCLUDE REGEX "\\.in$")
# The icons of its manifest, drawn by the art generator.
file(GLOB page_icons CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/web/*.png)
# `vorblox-web`: the game and the page beside it, and last the service
# worker that keeps them all for playing offline, named for this build.
add_custom_target(vorblox-web ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_files} ${page_icons} ${VORBLOX_WEB_DIR}
  COMMAND ${CMAKE_COMMAND} -DDIR=${VORBLOX_WEB_DIR} -DTEMPLATE=${page_sources}/sw.js.in
          -P ${CMAKE_SOURCE_DIR}/cmake/WebOffline.cmake
  DEPENDS vorblox ${page_files} ${page_icons} ${page_sources}/sw.js.in
  COMMENT "The page beside the game")
