# Web.cmake -- the browser build: the game library that
# packaging/web/build-allegro builds with Emscripten from Debian's source
# (TG_ALLEGRO_PREFIX names its install folder), and how the game is linked
# for the page: WebAssembly with ASYNCIFY, so that the game's waits become
# browser sleeps; the datafile and the initial high-score table packed
# beside it; the saved files in the browser's IndexedDB (files.js).
set(TG_ALLEGRO_PREFIX "" CACHE PATH "Install folder of the web Allegro library")
set(TG_ALLEGRO_LIB ${TG_ALLEGRO_PREFIX}/lib/liballeg.a)
if(NOT EXISTS ${TG_ALLEGRO_LIB} OR NOT EXISTS ${TG_ALLEGRO_PREFIX}/include/weballeg.h)
  message(FATAL_ERROR "No web Allegro in '${TG_ALLEGRO_PREFIX}': build through scripts/build-web")
endif()
target_include_directories(tg_allegro SYSTEM INTERFACE ${TG_ALLEGRO_PREFIX}/include)
target_link_libraries(tg_allegro INTERFACE ${TG_ALLEGRO_LIB})

# Every function that can be on the stack while the game sleeps. Emscripten
# finds those that reach a sleep by direct calls, but ASYNCIFY_IGNORE_INDIRECT
# leaves calls through function pointers (the dialog toolkit's procedures,
# gui_mouse_b, the drivers' methods) uninstrumented except in the functions
# listed here; and since the optimiser inlines before ASYNCIFY runs, any of
# these functions may hold the body of another, so all of them are listed,
# not only those that make such calls (the linker warns about the names of
# those inlined away; scripts/build-web leaves these warnings out). A missing entry corrupts the stack silently: the
# browser cases walk every path that sleeps.
set(TG_ASYNCIFY_ADD
  # the library: the dialog toolkit, the mouse it polls, rest()
  update_dialog object_message dialog_message d_button_proc d_edit_proc default_mouse_b poll_mouse
  rest_callback
  # the game: the main loop and its screens
  main startUp* loadAssets* runMainLoop* mainLoopPass* playingPass* finishRound* pauseGame*
  showHelpInGame* menuPass* menuKey* menuClick* startGameFromMenu* pressButton* openInfoPicture*
  openHighScores* showHelpFromMenu* quitFromMenu* loadMoreAssets* finishAssets* refuseDatafile*
  drawScreenPicture*
  # dialogs, the high-score entry and save, the settings' save, the waits
  showMessageBox* popupDialog* runDialog* recordHighScore* askPlayerName* saveHighScores* fatalError*
  loadHighScores* showErrorBox* saveSettingsWhenChanged* replaceFileContents* replaceThroughTemp*
  syncFolderOf* waitFrame* waitForFrameBoundary* holdFrames* waitForKey* sleepMs* exitNow*)
string(REPLACE ";" "," TG_ASYNCIFY_ADD "${TG_ASYNCIFY_ADD}")

function(tg_web_game target)
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -sENVIRONMENT=web
    -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sASYNCIFY_STACK_SIZE=32768
    "-sASYNCIFY_ADD=${TG_ASYNCIFY_ADD}"
    -sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH
    -sEXPORTED_RUNTIME_METHODS=FS
    -lidbfs.js
    "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/packaging/web/files.js"
    "SHELL:--preload-file ${TG_NATIVE_BUILD}/tumblegrid.dat@/game/tumblegrid.dat"
    "SHELL:--preload-file ${TG_NATIVE_BUILD}/highscores.initial.dat@/game/highscores.initial.dat")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${CMAKE_SOURCE_DIR}/packaging/web/files.js ${TG_NATIVE_BUILD}/tumblegrid.dat)
endfunction()
