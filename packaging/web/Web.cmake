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

# The functions that can be on the stack while the game sleeps but reach
# the sleep through a function pointer, which ASYNCIFY_IGNORE_INDIRECT
# would otherwise leave uninstrumented. Everything that reaches a sleep by
# direct calls only is found by Emscripten itself.
set(TG_ASYNCIFY_ADD
  showMessageBox\(char.const*\)
  update_dialog object_message dialog_message d_button_proc default_mouse_b poll_mouse)
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
