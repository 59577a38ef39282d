# Run at install time (install(SCRIPT)): writes the desktop entry with its
# programs named by their installed path, so that a menu starts them from a
# session whose PATH lacks the games folder. Takes VORBLOX_DESKTOP_SOURCE,
# VORBLOX_DESKTOP_OUTPUT and VORBLOX_GAMES_DIR (relative to the prefix).
file(READ "${VORBLOX_DESKTOP_SOURCE}" entry)
string(REGEX REPLACE "(^|\n)Exec=vorblox" "\\1Exec=${CMAKE_INSTALL_PREFIX}/${VORBLOX_GAMES_DIR}/vorblox" entry "${entry}")
file(WRITE "${VORBLOX_DESKTOP_OUTPUT}" "${entry}")
