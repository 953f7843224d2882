# Checks the include lines of the source folders against the floors of the program:
#   platform  <-  gamelua  <-  document, gamedata  <-  cli
#   platform, gamelua, document  <-  session
#   platform, gamelua, document, gamedata, cli, session  <-  shell  <-  sheets  <-  editors  <-  app
# A folder may include files of its own and of the folders it stands on, nothing above or beside.
# Nothing below shell/ includes Qt, and no sheet or editor reaches for the main window's header.
# Includes name bare files, found through the include directories, so a name is looked up in the
# folders here; a name found nowhere (a system or third-party header) is not checked.
cmake_minimum_required(VERSION 3.21)

set(floors platform gamelua document gamedata cli session shell sheets editors app)
set(allowed_platform platform)
set(allowed_gamelua platform gamelua)
set(allowed_document platform gamelua document)
set(allowed_gamedata platform gamedata)
set(allowed_cli platform gamelua document gamedata cli)
set(allowed_session platform gamelua document session)
set(allowed_shell platform gamelua document gamedata cli session shell)
set(allowed_sheets platform gamelua document gamedata cli session shell sheets)
set(allowed_editors platform gamelua document gamedata cli session shell sheets editors)
set(allowed_app ${floors})
set(qt_free platform gamelua document gamedata cli)
# Folders whose windows take their context instead of the main window.
set(main_window_free sheets editors)

foreach(folder IN LISTS floors)
  file(GLOB files_${folder} RELATIVE ${ROOT}/${folder} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp
       ${ROOT}/${folder}/*.def)
  foreach(name IN LISTS files_${folder})
    list(APPEND home_${name} ${folder})
  endforeach()
endforeach()

set(faults "")
foreach(folder IN LISTS floors)
  foreach(name IN LISTS files_${folder})
    file(STRINGS ${ROOT}/${folder}/${name} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(included ${CMAKE_MATCH_1})
        get_filename_component(included_name ${included} NAME)
        if(DEFINED home_${included_name})
          set(ok FALSE)
          foreach(home IN LISTS home_${included_name})
            if(home IN_LIST allowed_${folder})
              set(ok TRUE)
            endif()
          endforeach()
          if(NOT ok)
            string(APPEND faults "${folder}/${name}: includes ${included} of ${home_${included_name}}/\n")
          endif()
        endif()
        if(included_name STREQUAL "frmfrontend.h" AND folder IN_LIST main_window_free)
          string(APPEND faults "${folder}/${name}: includes the main window's header\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|qt[^>]*)>" AND folder IN_LIST qt_free)
        string(APPEND faults "${folder}/${name}: includes Qt (${CMAKE_MATCH_1})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Include lines that point up or sideways:\n${faults}")
endif()
