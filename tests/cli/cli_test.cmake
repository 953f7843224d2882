# Runs tarvisk-cli on scripts of its own and checks exit code, standard output and standard error.
# Every failed expectation is reported; the test fails if there was any. EMULATOR, when given,
# runs the program (Wine for a Windows build); ENV_NAME names the variable that holds the per-user
# folder on the program's system.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/bad.ship" "NewShipType.mass = heavy\r\nSpawnSalvageOnDeath(NewShipType, \"s\", 1)\r\nodd()\r\nNewShipType = StartShipConfig()\r\n")
file(WRITE "${WORK}/rel_model.ship" "NewShipType.buildCost = 5\r\n")

# run(<expected exit code> <stdout regex> <stderr regex> args...); "" matches an empty stream.
# read(<variable> <file> [HEX]): a missing file is reported and reads as empty.
function(read var path)
  set(${var} "" PARENT_SCOPE)
  if(NOT EXISTS "${path}")
    message(SEND_ERROR "${path} was not written")
  else()
    file(READ "${path}" content ${ARGN})
    set(${var} "${content}" PARENT_SCOPE)
  endif()
endfunction()

include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")

set(one_line "^tarvisk-cli: [^\n]*\n$")

# normalize: 0, and normalizing the result again gives the same bytes.
run(0 "" "" normalize "${SAMPLE}" "${WORK}/once.ship")
run(0 "" "" normalize "${WORK}/once.ship" "${WORK}/twice.ship")
read(once "${WORK}/once.ship" HEX)
read(twice "${WORK}/twice.ship" HEX)
if(NOT once STREQUAL twice OR once STREQUAL "")
  message(SEND_ERROR "normalize is not idempotent on the sample")
endif()
string(HEX "\r\nLoadSharedModel(NewShipType,\"Tvk_Pathfinder\")\r\n" model)
string(FIND "${once}" "${model}" at)
if(at LESS 0)
  message(SEND_ERROR "the normalized sample lost its shared model line (or its CR LF ends)")
endif()

# A relative IN names the shared model as Open would: after the file's own name.
run(0 "" "" normalize rel_model.ship "${WORK}/rel_out.ship")
read(text "${WORK}/rel_out.ship")
if(NOT text MATCHES "LoadSharedModel\\(NewShipType,\"rel_model\"\\)")
  message(SEND_ERROR "a relative path gave the wrong shared model name")
endif()

run(1 "" "${one_line}" normalize "${WORK}/missing.ship" "${WORK}/x.ship")
run(1 "" "does not exist" normalize "${WORK}/missing.ship" "${WORK}/x.ship")
run(2 "" "could not be saved" normalize "${SAMPLE}" "${WORK}/no/such/folder/x.ship")
run(2 "" "${one_line}" normalize "${SAMPLE}" "${WORK}")
# Errors while reading: still written, with a message that says how many and where they are.
run(0 "" "^tarvisk-cli: 2 line[^\n]*errors\\.txt[^\n]*\n$" normalize --logs bad.ship "${WORK}/bad_out.ship")
read(text "${WORK}/bad_out.ship")

# A script over 256 MiB is refused unread with a one-line reason (sparse: it takes no disc space).
if(UNIX)
  execute_process(COMMAND truncate -s 268435457 "${WORK}/huge.ship")
  run(2 "" "^tarvisk-cli: '[^\n]*huge\\.ship' could not be read: it is larger than 256 MiB\\.\n$"
      normalize huge.ship "${WORK}/huge_out.ship")
endif()

# (Not under Wine: it sets the per-user folder of its own prefix whatever the environment says.)
if(NOT EMULATOR)
# No log anywhere (a folder in the place of the log beside the program, no per-user folder): the
# script is still written, and the message says the logs could not be written.
file(MAKE_DIRECTORY "${WORK}/prog/debug.txt")
file(COPY "${CLI}" DESTINATION "${WORK}/prog")
get_filename_component(cli_name "${CLI}" NAME)
execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME= XDG_STATE_HOME= LOCALAPPDATA=
                        "${WORK}/prog/${cli_name}" normalize --logs bad.ship "${WORK}/nolog_out.ship"
                WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE got ERROR_VARIABLE err)
if(NOT got STREQUAL "0" OR NOT err MATCHES "^tarvisk-cli: 2 line[^\n]* the logs could not be written[^\n]*\n$"
   OR NOT EXISTS "${WORK}/nolog_out.ship")
  message(SEND_ERROR "without logs: exit ${got}, stderr: ${err}")
endif()
endif()

# check: one line per file; lines kept as written are notes, which fail no run; 1 for a missing
# one, the others still checked.
run(0 "^[^\n]*tvk_scout\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim\ntotal: 1 file\\(s\\) read, 0 error line\\(s\\)\n$" "" check "${SAMPLE}")
run(0 "tvk_scout\\.ship: 0 error[^\n]*\n(bad\\.ship:[0-9]+: note: kept as written: [^\n]*\n)+bad\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim\ntotal: 2 file\\(s\\) read, 0 error line\\(s\\)\n$" ""
    check "${SAMPLE}" bad.ship)
run(1 "bad\\.ship: 0 error" "missing\\.ship' does not exist" check missing.ship bad.ship)

# A compiled script is refused by every command and left as it was; check reports it as an
# error of that file.
string(ASCII 27 esc)
file(WRITE "${WORK}/compiled.ship" "${esc}LuaQ compiled bytes")
file(SIZE "${WORK}/compiled.ship" compiled_size)
set(compiled_msg "^tarvisk-cli: 'compiled\\.ship' is a compiled script, not a text script: edit its source file instead\\.\n$")
run(2 "" "${compiled_msg}" normalize compiled.ship "${WORK}/compiled_out.ship")
run(2 "" "${compiled_msg}" get compiled.ship buildCost)
run(2 "" "${compiled_msg}" set buildCost=5 -- compiled.ship)
run(3 "compiled\\.ship: error: 'compiled\\.ship' is a compiled script" "" check compiled.ship)
file(SIZE "${WORK}/compiled.ship" compiled_after)
if(EXISTS "${WORK}/compiled_out.ship" OR NOT compiled_after EQUAL compiled_size)
  message(SEND_ERROR "a compiled script was written to")
endif()

# An edit whose entry a block assigns last is refused, naming the line; nothing is written.
file(WRITE "${WORK}/block.ship" "NewShipType = StartShipConfig()\r\nNewShipType.mass = 5\r\nif x then\r\n  NewShipType.mass = 6\r\nend\r\n")
file(READ "${WORK}/block.ship" block_before)
run(2 "" "^tarvisk-cli: 'block\\.ship' was not changed: 'mass' is set last on line 3, inside a block[^\n]*\n$"
    set mass=7 -- block.ship)
run(0 "" "" set buildCost=7 -- block.ship)
read(block_after "${WORK}/block.ship")
if(NOT block_after MATCHES "mass = 5[\r\n]+NewShipType\\.buildCost = 7[\r\n]+if x then[\r\n]+  NewShipType\\.mass = 6")
  message(SEND_ERROR "the refused edit or the next one changed the file wrongly: ${block_after}")
endif()

# Without --logs, normalize, get and set write no logs.
file(MAKE_DIRECTORY "${WORK}/quiet")
file(COPY "${CLI}" DESTINATION "${WORK}/quiet")
get_filename_component(cli_name "${CLI}" NAME)
execute_process(COMMAND ${EMULATOR} "${WORK}/quiet/${cli_name}" normalize bad.ship "${WORK}/quiet_out.ship"
                WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE got OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${EMULATOR} "${WORK}/quiet/${cli_name}" get bad.ship mass
                WORKING_DIRECTORY "${WORK}" OUTPUT_QUIET ERROR_QUIET)
if(EXISTS "${WORK}/quiet/debug.txt" OR EXISTS "${WORK}/quiet/errors.txt" OR EXISTS "${WORK}/debug.txt")
  message(SEND_ERROR "normalize or get wrote the logs without --logs")
endif()

# Wrong use: a usage text and 2.
run(2 "" "usage" )
run(2 "" "usage" normalize only-one-argument)
run(2 "" "usage" frobnicate x)

# Names beyond ASCII in the script, the output and the program's own folder (where the logs go):
# read, written and logged under exactly these names.
set(uni "${WORK}/Über € Жук")
file(MAKE_DIRECTORY "${uni}/Prögram Œ")
file(COPY "${CLI}" DESTINATION "${uni}/Prögram Œ")
get_filename_component(cli_name "${CLI}" NAME)
set(program "${uni}/Prögram Œ/${cli_name}")
file(WRITE "${uni}/Œuvre €.ship" "NewShipType.buildCost = 7\r\nNewShipType.mass = heavy\r\n")
run(0 "" "errors\\.txt" normalize --logs "${uni}/Œuvre €.ship" "${uni}/Выход Ü.ship")
read(text "${uni}/Выход Ü.ship")
string(FIND "${text}" "\nNewShipType.buildCost = 7\n" cost)
string(FIND "${text}" "\nLoadSharedModel(NewShipType,\"Œuvre €\")\n" model)
if(cost LESS 0 OR model LESS 0)
  message(SEND_ERROR "the script with a non-ASCII name was not read or written back whole: ${text}")
endif()
read(text "${uni}/Prögram Œ/debug.txt")
if(NOT text MATCHES "Opening '[^\n]*Über € Жук[/\\]Œuvre €\\.ship' for input")
  message(SEND_ERROR "the debug log beside the program does not name the script: ${text}")
endif()
read(text "${uni}/Prögram Œ/errors.txt")
if(NOT text MATCHES "NewShipType\\.mass = heavy")
  message(SEND_ERROR "the error log beside the program lacks the bad line: ${text}")
endif()

# A program folder that cannot take the logs (here "debug.txt" is a folder, as root can write
# anywhere) sends them to the per-user folder, and the message names it.
file(REMOVE "${uni}/Prögram Œ/debug.txt")
file(MAKE_DIRECTORY "${uni}/Prögram Œ/debug.txt")
set(user "${WORK}/Jürgen Œ€ Жук")
set(env "${ENV_NAME}=${user}")
if(ENV_NAME STREQUAL "XDG_STATE_HOME")
  run(0 "" "'${user}/tarvisk/errors\\.txt'" normalize --logs "${uni}/Œuvre €.ship" "${uni}/again.ship")
  read(text "${user}/tarvisk/errors.txt")
  if(NOT text MATCHES "NewShipType\\.mass = heavy")
    message(SEND_ERROR "the per-user error log lacks the bad line: ${text}")
  endif()
else()
  # Wine sets LOCALAPPDATA from its own profile whatever the caller says; the document tests
  # cover a profile with such a name.
  run(0 "" "[/\\]Tarvisk[/\\]errors\\.txt'" normalize --logs "${uni}/Œuvre €.ship" "${uni}/again.ship")
endif()
