# The Linux install: the game and the replay runner in games/, as Debian
# keeps games, with the desktop entry, the AppStream metadata, the icon in
# the hicolor theme, the man pages (section 6, games) and the docs Debian
# asks for, so that a desktop finds and starts the game from its menu. CPack
# turns the same install into a .deb, and a -dbgsym package with the
# programs' debug information.
include(GNUInstallDirs)

set(VORBLOX_APP_ID io.github.vorblox.Vorblox)
set(VORBLOX_GAMES_DIR games)
# The project's own address, as the package's maintainer and the copyright
# file's contact.
set(VORBLOX_MAINTAINER "The Vorblox developers <vorblox@users.noreply.github.com>")
set(VORBLOX_HOMEPAGE "https://vorblox.github.io/")
set(linux_resources ${CMAKE_SOURCE_DIR}/resources/linux)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vorblox)

foreach(program vorblox vorblox-replay)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${VORBLOX_GAMES_DIR})
    # The compilers' names and versions, which nothing reads at run time,
    # go as Debian's own stripping takes them out.
    if(CMAKE_OBJCOPY)
      install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VORBLOX_GAMES_DIR}/${program}\")")
    endif()
  endif()
endforeach()

# The entry names the game by its installed path (cmake/DesktopEntry.cmake).
set(desktop_entry ${CMAKE_BINARY_DIR}/desktop/${VORBLOX_APP_ID}.desktop)
install(CODE "set(VORBLOX_DESKTOP_SOURCE \"${linux_resources}/${VORBLOX_APP_ID}.desktop\")
set(VORBLOX_DESKTOP_OUTPUT \"${desktop_entry}\")
set(VORBLOX_GAMES_DIR \"${VORBLOX_GAMES_DIR}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/DesktopEntry.cmake)
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_resources}/${VORBLOX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The copyright file in Debian's machine-readable form, its terms taken
# from LICENSE: paragraphs indented one space, blank lines as " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" found "${license}")
set(VORBLOX_COPYRIGHT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]*\n\n" "" terms "${license}")
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(VORBLOX_LICENSE_TEXT " ${terms}")
configure_file(${linux_resources}/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright DESTINATION ${doc_dir})

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

# Man pages and the changelog go in compressed, as Debian wants them;
# gzip -n keeps the package reproducible (no name or time stamp inside).
find_program(VORBLOX_GZIP gzip)
set(man_dir ${CMAKE_BINARY_DIR}/man)
set(man_pages "")
set(compressed "")
foreach(source vorblox.6 vorblox-replay.6 changelog)
  if(VORBLOX_GZIP)
    add_custom_command(
      OUTPUT ${man_dir}/${source}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      COMMAND ${CMAKE_COMMAND} -E copy ${linux_resources}/${source} ${man_dir}/${source}
      COMMAND ${VORBLOX_GZIP} -9 -n -f ${man_dir}/${source}
      DEPENDS ${linux_resources}/${source}
      VERBATIM)
    list(APPEND compressed ${man_dir}/${source}.gz)
  else()
    list(APPEND compressed ${linux_resources}/${source})
  endif()
endforeach()
list(POP_BACK compressed changelog)
set(man_pages ${compressed})
add_custom_target(vorblox_man_pages ALL DEPENDS ${man_pages} ${changelog})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${changelog} DESTINATION ${doc_dir})

# The Debian package: `cpack` in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorblox)
set(CPACK_PACKAGE_VENDOR "The Vorblox developers")
set(CPACK_PACKAGE_CONTACT "${VORBLOX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game")
set(CPACK_PACKAGE_DESCRIPTION "Seven kinds of pieces fall one at a time into a well ten cells wide;
move and turn them so that they fill whole rows. A full row disappears
and scores, and every so many rows the level rises and the pieces fall
faster. Played with the keyboard or a gamepad in one small window, shown
larger and sharp on dense screens. A game can be recorded and watched
again, and vorblox-replay plays a recording or a script of keys without
a window.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped programs in the package, their debug information in
# vorblox-dbgsym (a .ddeb), found by the programs' build ids. CPack's own
# stripping stays off: it would throw the debug information away before the
# .deb generator splits it off (and strips the programs itself).
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/DebugPackage.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORBLOX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VORBLOX_HOMEPAGE}")
# The run-time libraries (SDL2 and the C++ runtime) come from what the
# programs actually link, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "\\\\.swp$")
include(CPack)
