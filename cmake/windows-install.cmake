# The executables join the set korvel_dlls as they are installed (KORVEL_DLL_SET). What a
# Windows installation holds beside them: exactly the DLLs they import (Qt's,
# and the compiler's runtime), found by reading the executables, and the Qt plugins Qt loads by
# name at run time (the platform and the style), in the folders Qt looks for them in.
set(KORVEL_DLL_FOLDERS "")
foreach(library libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(folder "${found}" DIRECTORY)
  list(APPEND KORVEL_DLL_FOLDERS "${folder}")
endforeach()
if(KORVEL_BUILD_GUI)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
  get_filename_component(qt_bin "${qt_core_dll}" DIRECTORY)
  get_filename_component(qt_prefix "${qt_bin}" DIRECTORY)
  list(APPEND KORVEL_DLL_FOLDERS "${qt_bin}")
  install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
  install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
endif()
# Windows' own DLLs are the system's; only ours and the compiler's are installed.
install(RUNTIME_DEPENDENCY_SET korvel_dlls DESTINATION .
        PRE_INCLUDE_REGEXES "^(qt6|lib)"
        PRE_EXCLUDE_REGEXES ".*"
        DIRECTORIES ${KORVEL_DLL_FOLDERS})
