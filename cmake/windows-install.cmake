# What a Windows installation holds beside the executables: the Qt plugins Qt loads by name at
# run time (the platform and the style), in the folders Qt looks for them in, and exactly the
# DLLs all of them import (Qt's, and the compiler's runtime), found by reading them.
set(KORVEL_DLL_FOLDERS "")
foreach(library libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(folder "${found}" DIRECTORY)
  list(APPEND KORVEL_DLL_FOLDERS "${folder}")
endforeach()
set(KORVEL_DEPLOYED korvel-cli.exe)
if(KORVEL_BUILD_GUI)
  list(APPEND KORVEL_DEPLOYED korvel.exe platforms/qwindows.dll styles/qwindowsvistastyle.dll)
  set(qt_prefix "${QT6_INSTALL_PREFIX}")
  list(APPEND KORVEL_DLL_FOLDERS "${qt_prefix}/${QT6_INSTALL_BINS}")
  install(FILES ${qt_prefix}/${QT6_INSTALL_PLUGINS}/platforms/qwindows.dll DESTINATION platforms)
  install(FILES ${qt_prefix}/${QT6_INSTALL_PLUGINS}/styles/qwindowsvistastyle.dll DESTINATION styles)
endif()
find_program(KORVEL_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
install(CODE "
  set(KORVEL_OBJDUMP \"${KORVEL_OBJDUMP}\")
  set(KORVEL_DLL_FOLDERS \"${KORVEL_DLL_FOLDERS}\")
  set(KORVEL_DEPLOYED \"${KORVEL_DEPLOYED}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/windows-deploy.cmake\")
")
