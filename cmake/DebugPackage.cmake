# Run by CPack after it made the packages (CPACK_POST_BUILD_SCRIPTS): puts
# the -dbgsym package in the shape Debian's own have, which CPack's is not
# in. Its md5sums name the files by their path in CPack's work folder
# rather than in the package, its debug files are marked executable, and it
# has no docs; Debian's point the docs folder at the main package's.
find_program(DPKG_DEB dpkg-deb REQUIRED)
set(ddebs "")
foreach(file IN LISTS CPACK_PACKAGE_FILES)
  if(file MATCHES "-dbgsym_[^/]*\\.ddeb$")
    list(APPEND ddebs "${file}")
  endif()
endforeach()
if(NOT ddebs)
  file(GLOB ddebs "${CPACK_PACKAGE_DIRECTORY}/*-dbgsym_*.ddeb")
endif()
foreach(ddeb IN LISTS ddebs)
  set(root "${CPACK_TOPLEVEL_DIRECTORY}/dbgsym-rebuilt")
  file(REMOVE_RECURSE "${root}")
  execute_process(COMMAND ${DPKG_DEB} --raw-extract "${ddeb}" "${root}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${DPKG_DEB} --field "${ddeb}" Package Depends
    OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCH "Package: ([^\n]*)-dbgsym" found "${fields}")
  set(main "${CMAKE_MATCH_1}")
  file(GLOB_RECURSE debug_files RELATIVE "${root}" "${root}/usr/*")
  list(SORT debug_files)
  set(md5sums "")
  foreach(file IN LISTS debug_files)
    file(CHMOD "${root}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    file(MD5 "${root}/${file}" sum)
    string(APPEND md5sums "${sum}  ${file}\n")
  endforeach()
  file(WRITE "${root}/DEBIAN/md5sums" "${md5sums}")
  file(CHMOD "${root}/DEBIAN/md5sums" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  # The package depends on exactly this version of the main one, so the
  # main one's copyright and changelog stand for it.
  file(MAKE_DIRECTORY "${root}/usr/share/doc")
  file(CREATE_LINK "${main}" "${root}/usr/share/doc/${main}-dbgsym" SYMBOLIC)
  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zxz --build "${root}" "${ddeb}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${root}")
endforeach()
