# Allegro.cmake -- the game library for the Windows build: the static
# Allegro 4.4 that scripts/build-windows builds from Debian's source and
# keeps in a cache outside the clone. TG_ALLEGRO_PREFIX names its install
# folder; the programs then link it and the system libraries its Windows
# drivers use (DirectDraw, DirectInput, DirectSound, waveOut, GDI).
set(TG_ALLEGRO_PREFIX "" CACHE PATH "Install folder of the Windows Allegro library")
set(TG_ALLEGRO_LIB ${TG_ALLEGRO_PREFIX}/lib/liballeg.a)
if(NOT EXISTS ${TG_ALLEGRO_LIB} OR NOT EXISTS ${TG_ALLEGRO_PREFIX}/include/allegro.h)
  message(FATAL_ERROR "No Windows Allegro in '${TG_ALLEGRO_PREFIX}': build through scripts/build-windows")
endif()
target_include_directories(tg_allegro SYSTEM INTERFACE ${TG_ALLEGRO_PREFIX}/include)
target_compile_definitions(tg_allegro INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(tg_allegro INTERFACE ${TG_ALLEGRO_LIB}
  kernel32 user32 gdi32 comdlg32 ole32 dinput ddraw dxguid winmm dsound)
