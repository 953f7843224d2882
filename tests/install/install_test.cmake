# Installs the build into STAGE and checks the file list, the desktop entry, the PNG icon's size
# and that the file type names *.ship. Every failed expectation is reported.
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${STAGE}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}): ${err}")
endif()

file(GLOB_RECURSE installed RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT installed)
set(expected
  bin/tarvisk
  bin/tarvisk-cli
  share/applications/tarvisk.desktop
  share/icons/hicolor/256x256/apps/tarvisk.png
  share/icons/hicolor/scalable/apps/tarvisk.svg
  share/mime/packages/tarvisk.xml)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " got "${installed}")
  message(SEND_ERROR "installed files:\n  ${got}")
endif()
foreach(program tarvisk tarvisk-cli)
  if(NOT IS_DIRECTORY "${STAGE}/bin/${program}" AND EXISTS "${STAGE}/bin/${program}")
    file(READ "${STAGE}/bin/${program}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
      message(SEND_ERROR "bin/${program} is not a program")
    endif()
  endif()
endforeach()

# The PNG's header holds width and height as 32-bit big-endian numbers at byte 16.
file(READ "${STAGE}/share/icons/hicolor/256x256/apps/tarvisk.png" size OFFSET 16 LIMIT 8 HEX)
if(NOT size STREQUAL "0000010000000100")
  message(SEND_ERROR "the PNG icon is not 256 x 256 pixels (header ${size})")
endif()

if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${STAGE}/share/applications/tarvisk.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(SEND_ERROR "desktop-file-validate: ${out}")
  endif()
else()
  message(STATUS "desktop-file-validate not found: the desktop entry is not validated")
endif()
file(READ "${STAGE}/share/applications/tarvisk.desktop" entry)
string(FIND "${entry}" "\nMimeType=text/x-starreach-ship;\n" at)
if(at LESS 0)
  message(SEND_ERROR "the desktop entry does not offer the editor for ship scripts:\n${entry}")
endif()

# The file type as a desktop reads it: the compiled database maps *.ship to it.
if(UPDATE_MIME_DATABASE)
  execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${STAGE}/share/mime" RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  file(STRINGS "${STAGE}/share/mime/globs2" globs REGEX "text/x-starreach-ship")
  if(NOT rc EQUAL 0 OR NOT globs MATCHES ":text/x-starreach-ship:\\*\\.ship")
    message(SEND_ERROR "update-mime-database (${rc}) did not map *.ship: ${globs} ${err}")
  endif()
else()
  message(STATUS "update-mime-database not found: the file type is not compiled")
endif()
