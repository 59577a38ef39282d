# vorblox_library(NAME DEPS dep...): one static library of a program folder,
# from every .cpp file in it, with the project root as its include root
# (so code includes "game/GameState.h").
function(vorblox_library name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    vorblox_warnings(${name})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${CMAKE_SOURCE_DIR})
  if(L_DEPS)
    target_link_libraries(${name} ${scope} ${L_DEPS})
  endif()
endfunction()
