# Pixman.cmake -- the pixel library for the Windows build: the static
# pixman that scripts/build-windows builds from Debian's source
# (packaging/windows/build-pixman) and keeps in a cache outside the clone.
# TG_PIXMAN_PREFIX names its install folder; tg_pixman carries its header
# folder, its library and TG_HAVE_PIXMAN to whatever links it.
set(TG_PIXMAN_PREFIX "" CACHE PATH "Install folder of the Windows pixman library")
set(TG_PIXMAN_LIB ${TG_PIXMAN_PREFIX}/lib/libpixman-1.a)
if(NOT EXISTS ${TG_PIXMAN_LIB} OR NOT EXISTS ${TG_PIXMAN_PREFIX}/include/pixman-1/pixman.h)
  message(FATAL_ERROR "No Windows pixman in '${TG_PIXMAN_PREFIX}': build through scripts/build-windows")
endif()
add_library(tg_pixman INTERFACE)
target_include_directories(tg_pixman SYSTEM INTERFACE ${TG_PIXMAN_PREFIX}/include/pixman-1)
target_link_libraries(tg_pixman INTERFACE ${TG_PIXMAN_LIB})
target_compile_definitions(tg_pixman INTERFACE TG_HAVE_PIXMAN)
