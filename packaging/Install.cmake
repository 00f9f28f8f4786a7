# Install.cmake -- where an installed TumbleGrid lives, and the Debian package.
#
# The game itself only ever looks in its working folder for tumblegrid.dat
# and highscores.dat, so it is installed out of the way in a private folder
# and started through a small launcher that gives every player a folder of
# their own (see tumblegrid.sh.in).

include(GNUInstallDirs)

# Folders relative to the prefix, in the usual places for games.
set(TG_INSTALL_GAMESDIR "games" CACHE STRING
  "Where the tumblegrid launcher goes (relative to the prefix)")
set(TG_INSTALL_PROGDIR "lib/games/tumblegrid" CACHE STRING
  "Private folder for the game program (relative to the prefix)")
set(TG_INSTALL_GAMEDATADIR "${CMAKE_INSTALL_DATADIR}/games/tumblegrid" CACHE STRING
  "Where the datafile and the initial high-score file go (relative to the prefix)")
set(TG_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/tumblegrid")
set(TG_ICON_SIZES 16 32 48 64 128 256)
set(TG_PACKAGE_MAINTAINER
  "TumbleGrid maintainers <maintainers@users.noreply.c-seed-e98e71c7.example>")

set(TG_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TG_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TG_PACKAGING_OUT})

# The launcher finds the game relative to its own location, so one install
# tree works wherever it is unpacked (the Debian package, a --prefix, DESTDIR).
# An absolute folder can't be expressed that way and is written in as it is.
function(tg_path_from_launcher out dir)
  if(IS_ABSOLUTE "${dir}")
    set(path "${dir}")
  elseif(IS_ABSOLUTE "${TG_INSTALL_GAMESDIR}")
    set(path "${CMAKE_INSTALL_PREFIX}/${dir}")
  else()
    file(RELATIVE_PATH path "/prefix/${TG_INSTALL_GAMESDIR}" "/prefix/${dir}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
tg_path_from_launcher(TG_LAUNCHER_PROGDIR "${TG_INSTALL_PROGDIR}")
tg_path_from_launcher(TG_LAUNCHER_GAMEDATADIR "${TG_INSTALL_GAMEDATADIR}")

configure_file(${TG_PACKAGING_DIR}/tumblegrid.sh.in ${TG_PACKAGING_OUT}/tumblegrid @ONLY)
configure_file(${TG_PACKAGING_DIR}/changelog.in ${TG_PACKAGING_OUT}/changelog @ONLY)

# Debian wants the man page and the changelog compressed, without a time
# stamp in the gzip header so that rebuilds give the same bytes.
find_program(TG_GZIP gzip REQUIRED)
foreach(pair "${TG_PACKAGING_DIR}/tumblegrid.6|tumblegrid.6.gz"
             "${TG_PACKAGING_OUT}/changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(
    OUTPUT ${TG_PACKAGING_OUT}/${target}
    COMMAND ${TG_GZIP} -9nf -c ${source} > ${TG_PACKAGING_OUT}/${target}
    DEPENDS ${source}
    COMMENT "Compressing ${target}")
  list(APPEND TG_COMPRESSED ${TG_PACKAGING_OUT}/${target})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${TG_COMPRESSED})

install(TARGETS tumblegrid RUNTIME DESTINATION ${TG_INSTALL_PROGDIR})
install(PROGRAMS ${TG_PACKAGING_OUT}/tumblegrid DESTINATION ${TG_INSTALL_GAMESDIR})
install(FILES ${CMAKE_BINARY_DIR}/tumblegrid.dat DESTINATION ${TG_INSTALL_GAMEDATADIR})
install(FILES ${CMAKE_BINARY_DIR}/highscores.initial.dat
  DESTINATION ${TG_INSTALL_GAMEDATADIR} RENAME highscores.dat)
install(FILES ${TG_PACKAGING_DIR}/tumblegrid.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TG_PACKAGING_DIR}/io.github.tumblegrid.TumbleGrid.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS TG_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/icons/tumblegrid-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME tumblegrid.png)
endforeach()
install(FILES ${TG_PACKAGING_OUT}/tumblegrid.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${TG_PACKAGING_DIR}/copyright DESTINATION ${TG_INSTALL_DOCDIR})
install(FILES ${TG_PACKAGING_OUT}/changelog.gz
  DESTINATION ${TG_INSTALL_DOCDIR})

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME tumblegrid)
set(CPACK_PACKAGE_VENDOR "TumbleGrid")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade puzzle game with falling digits")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${TG_PACKAGING_DIR}/description.txt)
set(CPACK_PACKAGE_CONTACT "${TG_PACKAGE_MAINTAINER}")
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/tmp/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps works out the Allegro 4, X11 and C++ runtime dependencies
# from the program itself, so they always match what it was linked against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
