# tarvisk-cli check agrees with Lua on which scripts load: for each script of the syntax folder
# (one syntax error each, or a valid form the reader does not write itself), check reports
# FILE:LINE: error: MESSAGE exactly as luac5.1 -p gives it, and nothing of Lua's for a script
# that loads.
file(GLOB scripts "${SCRIPTS}/*.ship")
set(failures 0)
foreach(script IN LISTS scripts)
  execute_process(COMMAND "${LUAC}" -p "${script}" RESULT_VARIABLE luarc ERROR_VARIABLE luaerr OUTPUT_QUIET)
  execute_process(COMMAND ${EMULATOR} "${CLI}" check "${script}" OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # Lua's own findings: the error lines that are not the reader's.
  string(REGEX REPLACE "[^\n]*: note: [^\n]*\n" "" lua_out "${out}")
  string(REGEX MATCHALL "[^\n]*: error: [^\n]*" found "${lua_out}")
  if(luarc EQUAL 0)
    if(found)
      message(SEND_ERROR "Lua loads ${script}, check says: ${found}")
    endif()
  else()
    string(REGEX REPLACE "^[^:]*: (.*):([0-9]+): ([^\n]*)\n.*$" "\\1:\\2: error: \\3" expected "${luaerr}")
    if(NOT found STREQUAL expected)
      message(SEND_ERROR "${script}:\n  luac5.1: ${expected}\n  check:   ${found}")
    endif()
  endif()
endforeach()
list(LENGTH scripts n)
message(STATUS "check against luac5.1 -p: ${n} scripts")
