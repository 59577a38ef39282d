# The Linux install: the game and the replay runner in bin/, with the desktop
# entry, the AppStream metadata, the icon in the hicolor theme and the man
# pages, so that a desktop finds and starts the game from its menu. CPack
# turns the same install into a .deb.
include(GNUInstallDirs)

set(VORBLOX_APP_ID io.github.vorblox.Vorblox)
set(linux_resources ${CMAKE_SOURCE_DIR}/resources/linux)

foreach(program vorblox vorblox-replay)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${linux_resources}/${VORBLOX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_resources}/${VORBLOX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorblox RENAME copyright)

# The icon is drawn by the art generator at each size, from the same artwork
# as the window icon, rather than scaled from one picture.
set(VORBLOX_ICON_SIZES 16 32 48 64 128 256)
find_package(PNG QUIET)
if(PNG_FOUND)
  set(icon_dir ${CMAKE_BINARY_DIR}/icons)
  set(icons "")
  foreach(size IN LISTS VORBLOX_ICON_SIZES)
    list(APPEND icons ${icon_dir}/vorblox-${size}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${icons}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
    COMMAND vorblox-artgen --png-icons ${icon_dir}
    DEPENDS vorblox-artgen
    COMMENT "Drawing the desktop icons"
    VERBATIM)
  add_custom_target(vorblox_desktop_icons ALL DEPENDS ${icons})
  foreach(size IN LISTS VORBLOX_ICON_SIZES)
    install(FILES ${icon_dir}/vorblox-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vorblox.png)
  endforeach()
else()
  message(WARNING "libpng not found: the install will have no desktop icon")
endif()

# Man pages go in compressed, as Debian wants them; gzip -n keeps the
# package reproducible (no name or time stamp inside).
find_program(VORBLOX_GZIP gzip)
set(man_dir ${CMAKE_BINARY_DIR}/man)
set(man_pages "")
foreach(page vorblox.6 vorblox-replay.6)
  if(VORBLOX_GZIP)
    add_custom_command(
      OUTPUT ${man_dir}/${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      COMMAND ${CMAKE_COMMAND} -E copy ${linux_resources}/${page} ${man_dir}/${page}
      COMMAND ${VORBLOX_GZIP} -9 -n -f ${man_dir}/${page}
      DEPENDS ${linux_resources}/${page}
      VERBATIM)
    list(APPEND man_pages ${man_dir}/${page}.gz)
  else()
    list(APPEND man_pages ${linux_resources}/${page})
  endif()
endforeach()
add_custom_target(vorblox_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package: `cpack` in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorblox)
set(CPACK_PACKAGE_VENDOR "The Vorblox developers")
set(CPACK_PACKAGE_CONTACT "The Vorblox developers <vorblox@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game")
set(CPACK_PACKAGE_DESCRIPTION "Seven kinds of pieces fall one at a time into a well ten cells wide;
move and turn them so that they fill whole rows. A full row disappears
and scores, and every so many rows the level rises and the pieces fall
faster. Played with the keyboard in one small window.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vorblox developers <vorblox@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vorblox.github.io/")
# The run-time libraries (SDL2 and the C++ runtime) come from what the
# programs actually link, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "\\\\.swp$")
include(CPack)
