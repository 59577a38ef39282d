# Debian's hardening flags, as dpkg-buildflags gives them with every
# hardening feature on (DEB_BUILD_MAINT_OPTIONS=hardening=+all): stack
# protector and clash protection, format checks, fortified C library
# calls, read-only relocations bound at start. The build type keeps its own
# optimisation and debug flags. Left out of the sanitizer and fuzzing builds,
# whose run-time checks do that work and trip over the fortified calls, and
# out of the Windows build.
option(VORBLOX_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
if(VORBLOX_HARDENING AND NOT WIN32 AND NOT CMAKE_CROSSCOMPILING AND NOT VORBLOX_SANITIZE AND NOT VORBLOX_FUZZ)
  find_program(VORBLOX_DPKG_BUILDFLAGS dpkg-buildflags)
  if(VORBLOX_DPKG_BUILDFLAGS)
    set(hardening_compile "")
    set(hardening_link "")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${VORBLOX_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
      if(failed)
        continue()
      endif()
      separate_arguments(flags UNIX_COMMAND "${flags}")
      list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*)$")
      if(kind STREQUAL LDFLAGS)
        list(APPEND hardening_link ${flags})
      else()
        list(APPEND hardening_compile ${flags})
      endif()
    endforeach()
    # The fortified calls need the optimiser; without it glibc warns, and
    # -Werror would stop the build.
    set(fortify ${hardening_compile})
    list(FILTER fortify INCLUDE REGEX "^-D_FORTIFY_SOURCE")
    list(FILTER hardening_compile EXCLUDE REGEX "^-D_FORTIFY_SOURCE")
    list(REMOVE_DUPLICATES hardening_compile)
    add_compile_options(${hardening_compile})
    foreach(flag IN LISTS fortify)
      add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${flag}>)
    endforeach()
    add_link_options(${hardening_link})
    message(STATUS "Hardening: ${hardening_compile} ${fortify} ${hardening_link}")
  else()
    message(STATUS "Hardening: dpkg-buildflags not found, building without Debian's hardening flags")
  endif()
endif()
