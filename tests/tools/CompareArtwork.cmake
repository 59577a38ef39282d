# cmake -DARTGEN=exe -DOUT=dir -DEXPECTED=dir [-DRUNNER=emulator] -P CompareArtwork.cmake
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND ${RUNNER} "${ARTGEN}" "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "vorblox-artgen failed: ${result}")
endif()
foreach(name PIC_MAIN.bmp PIC_BLOCKS.bmp PIC_FONTS.bmp PIC_STARTTXT.bmp PIC_GAMEOVER.bmp
             IDI_APPLICATION.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${EXPECTED}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from the generator's output; run vorblox-artgen resources")
  endif()
endforeach()
