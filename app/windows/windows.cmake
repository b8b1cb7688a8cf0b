# The Windows build, cross-built with MinGW-w64 (scripts/mingw-w64.cmake). Wine
# runs its programs here: the icon's export at build time and the tests
# (CMAKE_CROSSCOMPILING_EMULATOR), in a Wine prefix inside the build tree.

set(RV_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix for the build's tests")
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(RV_QT_BIN ${qt_core_dll} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE stdcxx_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(RV_GCC_DLL_DIR ${stdcxx_dll} DIRECTORY)
set(RV_DLL_DIRS ${RV_QT_BIN} ${RV_GCC_DLL_DIR} /usr/x86_64-w64-mingw32/lib)
set(wine_path)
foreach(dir IN LISTS RV_DLL_DIRS)
  string(REPLACE "/" "\\" dos ${dir})
  list(APPEND wine_path "Z:${dos}")
endforeach()
list(JOIN wine_path ";" RV_WINE_PATH)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(RV_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RV_WINE_RUN} --qtest) # for tests/: each a QtTest program
# For app/windows/package.sh: where the DLLs come from.
file(WRITE ${CMAKE_BINARY_DIR}/dll-dirs.txt "${RV_DLL_DIRS}")

# The program carries the window's own drawing as its icon, for Explorer and the Start menu.
set(ico ${CMAKE_BINARY_DIR}/app/rv4820-tool.ico)
set(png_sizes 16 32 48 256)
set(pngs)
foreach(size IN LISTS png_sizes)
  list(APPEND pngs ${CMAKE_BINARY_DIR}/app/icons/${size}x${size}/apps/rv4820-tool.png)
endforeach()
add_custom_command(OUTPUT ${ico}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${RV_WINE_RUN}
          $<TARGET_FILE:rv4820-icon> icons ${png_sizes}
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/png_to_ico.py ${ico} ${pngs}
  DEPENDS rv4820-icon ${CMAKE_CURRENT_LIST_DIR}/png_to_ico.py
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/app
  VERBATIM)
add_custom_target(rv4820-ico DEPENDS ${ico})
configure_file(${CMAKE_CURRENT_LIST_DIR}/rv4820-tool.rc.in ${CMAKE_BINARY_DIR}/app/rv4820-tool.rc @ONLY)
target_sources(rv4820-tool PRIVATE ${CMAKE_BINARY_DIR}/app/rv4820-tool.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/app/rv4820-tool.rc PROPERTIES OBJECT_DEPENDS ${ico})
add_dependencies(rv4820-tool rv4820-ico)
# A window program: no console opens beside it.
set_target_properties(rv4820-tool PROPERTIES WIN32_EXECUTABLE ON)
