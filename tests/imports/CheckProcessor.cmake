# Checks that the 32-bit game's own code runs on a Pentium, the processor
# Windows XP asks for: none of the instructions the Pentium Pro and later
# added (CMOVcc, FCMOVcc, FCOMI/FUCOMI, the long NOPs) and no MMX or SSE.
# Then counts those in the whole of vorblox.exe: what is left comes from the
# MinGW-w64 runtime libraries linked into it (C runtime start-up, libgcc,
# libstdc++), which Debian builds for i686; it is reported, not failed, as
# this build cannot choose how they are compiled.
#   cmake -DOBJDUMP=... -DPROGRAM=vorblox.exe -DGAME_CODE=game-code.txt -P CheckProcessor.cmake
# GAME_CODE lists the game's object files and static libraries, one a line.
cmake_minimum_required(VERSION 3.25)
foreach(var OBJDUMP PROGRAM GAME_CODE)
  if(NOT ${var})
    message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DPROGRAM=... -DGAME_CODE=... -P CheckProcessor.cmake")
  endif()
endforeach()

# objdump -d lines: "  401000:\t0f 44 c2             \tcmove  %edx,%eax".
set(newer "\t(cmov[a-z]+|fcmov[a-z]+|fu?comip?|nop[wl]) |%x?mm[0-9]")

# count_newer(FILE COUNT FUNCTIONS): how many such instructions FILE holds,
# and in which functions ("name (count)").
function(count_newer file count_var functions_var)
  execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${file}
    OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -d ${file} failed (${result})")
  endif()
  # Nothing in a line may split or join CMake's list items.
  string(REGEX REPLACE "[][;]" "_" dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(count 0)
  set(function "?")
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-f]+ <(.+)>:$")
      set(function "${CMAKE_MATCH_1}")
    elseif(line MATCHES "${newer}")
      math(EXPR count "${count} + 1")
      if(NOT DEFINED in_${function})
        set(in_${function} 0)
        list(APPEND names "${function}")
      endif()
      math(EXPR in_${function} "${in_${function}} + 1")
    endif()
  endforeach()
  set(listed "")
  foreach(name IN LISTS names)
    list(APPEND listed "${name} (${in_${name}})")
  endforeach()
  set(${count_var} ${count} PARENT_SCOPE)
  set(${functions_var} "${listed}" PARENT_SCOPE)
endfunction()

file(STRINGS ${GAME_CODE} files)
set(problems "")
set(checked 0)
foreach(file IN LISTS files)
  count_newer("${file}" count functions)
  math(EXPR checked "${checked} + 1")
  if(count GREATER 0)
    list(JOIN functions ", " text)
    list(APPEND problems "${file}: ${count} instructions a Pentium lacks, in ${text}")
  endif()
endforeach()
if(checked EQUAL 0)
  message(FATAL_ERROR "${GAME_CODE} names no files of the game's code")
endif()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The game's code is not for a Pentium (build it with -march=i586):\n  ${text}")
endif()
message(STATUS "The game's code (${checked} objects and libraries) needs no more than a Pentium")

count_newer(${PROGRAM} total functions)
list(JOIN functions ", " text)
message(STATUS "${PROGRAM}: ${total} instructions a Pentium lacks, all from MinGW-w64's runtime libraries: ${text}")
