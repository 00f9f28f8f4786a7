# Resources.cmake -- the resource section of tumblegrid.exe, compiled by
# MinGW-w64's windres: the game's icon, packed by make-ico from the PNG
# icons the asset generator drew in the native build; the manifest; the
# version information. Included by the top-level list in a Windows build.
enable_language(RC)
set(TG_ICON_PNGS)
foreach(size 16 32 48 64 128 256)
  list(APPEND TG_ICON_PNGS ${TG_NATIVE_BUILD}/icons/tumblegrid-${size}.png)
endforeach()
set(TG_ICO ${CMAKE_BINARY_DIR}/tumblegrid.ico)
add_custom_command(OUTPUT ${TG_ICO}
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/make-ico ${TG_ICO} ${TG_ICON_PNGS}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make-ico ${TG_ICON_PNGS}
  COMMENT "Packing tumblegrid.ico"
  VERBATIM)
set(TG_MANIFEST ${CMAKE_BINARY_DIR}/tumblegrid.exe.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tumblegrid.exe.manifest ${TG_MANIFEST} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/tumblegrid.rc.in ${CMAKE_BINARY_DIR}/tumblegrid.rc @ONLY)
target_sources(tumblegrid PRIVATE ${CMAKE_BINARY_DIR}/tumblegrid.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/tumblegrid.rc PROPERTIES OBJECT_DEPENDS "${TG_ICO};${TG_MANIFEST}")
