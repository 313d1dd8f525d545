# Run at install: copies beside the installed programs exactly the DLLs they import, and the
# DLLs those import in turn, from KORVEL_DLL_FOLDERS (Qt's and the compiler's). A DLL found in
# none of them is Windows' own. Names are matched without regard to case, as Windows does;
# CMake's own runtime-dependency search does not do that on a Linux build machine.
# Set by the install code: KORVEL_OBJDUMP, KORVEL_DLL_FOLDERS, KORVEL_DEPLOYED (the installed
# executables and plugins, relative to the prefix).
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(available "")
foreach(folder IN LISTS KORVEL_DLL_FOLDERS)
  file(GLOB dlls "${folder}/*.dll")
  list(APPEND available ${dlls})
endforeach()

set(pending "")
foreach(file IN LISTS KORVEL_DEPLOYED)
  list(APPEND pending "${prefix}/${file}")
endforeach()
set(copied "")
while(pending)
  list(POP_FRONT pending binary)
  execute_process(COMMAND ${KORVEL_OBJDUMP} -p "${binary}" OUTPUT_VARIABLE dump
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "DLL Name: " "" name "${import}")
    string(TOLOWER "${name}" wanted)
    list(FIND copied "${wanted}" done)
    if(done GREATER -1)
      continue()
    endif()
    foreach(candidate IN LISTS available)
      get_filename_component(candidate_name "${candidate}" NAME)
      string(TOLOWER "${candidate_name}" candidate_lower)
      if(candidate_lower STREQUAL wanted)
        message(STATUS "Deploying: ${candidate_name}")
        file(COPY "${candidate}" DESTINATION "${prefix}")
        list(APPEND copied "${wanted}")
        list(APPEND pending "${prefix}/${candidate_name}")
        break()
      endif()
    endforeach()
  endforeach()
endwhile()
