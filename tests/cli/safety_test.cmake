# tarvisk-cli on hostile paths and files: links and ".." resolved as the system resolves them,
# things that are not scripts named for what they are, folders it may not search, escape
# sequences kept from the terminal, memory that runs out, a huge data file. Where a case needs a
# second user and the tests run as root, the tool runs as uid 65534 (setpriv).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")

function(expect_file path expected)
  file(READ "${path}" content)
  if(NOT content STREQUAL expected)
    message(SEND_ERROR "${path} is not as expected:\n${content}")
  endif()
endfunction()

# Wrong use and the small cases the tool once got wrong.
configure_file("${SAMPLE}" "${WORK}/a.ship" COPYONLY)
run(2 "" "usage" set --output)
run(2 "" "usage" set buildCost=1 --output)
run(0 "^LoadSharedModel = \"Tvk_Pathfinder\"\n$" "" get a.ship LoadSharedModel)

# check --data without a family list: a note, family names not checked, nothing found.
file(MAKE_DIRECTORY "${WORK}/Data/scripts")
file(WRITE "${WORK}/family.ship" "NewShipType = StartShipConfig()\r\nNewShipType.buildFamily = \"NoSuchFamily\"\r\n")
run(0 "family\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 0 unknown name\\(s\\)\n"
    "^tarvisk-cli: no family list in [^\n]*; family names are not checked\\.\n$"
    check --data Data family.ship)

# set on several files: each file's lines in the logs under its own heading, none lost.
file(MAKE_DIRECTORY "${WORK}/prog")
file(COPY "${CLI}" DESTINATION "${WORK}/prog")
get_filename_component(cli_name "${CLI}" NAME)
file(WRITE "${WORK}/bad1.ship" "NewShipType.mass = heavy\r\n")
file(WRITE "${WORK}/bad2.ship" "NewShipType.mass = light\r\n")
set(program "${WORK}/prog/${cli_name}")
run(0 "" "bad1\\.ship[^\n]*errors\\.txt[^\n]*\ntarvisk-cli: [^\n]*bad2\\.ship" set --logs buildCost=1 -- bad1.ship bad2.ship)
file(READ "${WORK}/prog/errors.txt" errors)
if(NOT errors MATCHES "^Opening '[^\n]*bad1\\.ship' for input\\.\\.\\.\nERROR: [^\n]*heavy\nOpening '[^\n]*bad2\\.ship' for input\\.\\.\\.\nERROR: [^\n]*light\n$")
  message(SEND_ERROR "the logs of set on two files: ${errors}")
endif()
unset(program)
set(program "${CLI}")

if(NOT UNIX OR EMULATOR)
  return()
endif()

# A data file as big as a disc (sparse: it takes no space) is refused unread, and says why.
execute_process(COMMAND truncate -s 3G "${WORK}/Data/scripts/familylist.lua")
run(0 "0 unknown name" "could be read \\(it is larger than 256 MiB\\); family names are not checked" check --data Data family.ship)

# ".." after a link leads where the system says: into the folder the link's target is in.
file(MAKE_DIRECTORY "${WORK}/sub/inner")
file(WRITE "${WORK}/x.ship" "NewShipType.buildCost = 1\r\n")
file(WRITE "${WORK}/sub/x.ship" "NewShipType.buildCost = 2\r\n")
file(CREATE_LINK "sub/inner" "${WORK}/d" SYMBOLIC)
run(0 "^buildCost = 2\n$" "" get d/../x.ship buildCost)
run(0 "" "" set --output d/../new.ship buildCost=3 -- x.ship)
if(NOT EXISTS "${WORK}/sub/new.ship" OR EXISTS "${WORK}/new.ship")
  message(SEND_ERROR "set --output d/../new.ship did not write sub/new.ship")
endif()

# Not scripts: each named for what it is, an error of the run in text and JSON.
execute_process(COMMAND mkfifo "${WORK}/pipe.ship")
file(MAKE_DIRECTORY "${WORK}/folder.ship")
string(REPEAT "n" 300 long)
set(cases "pipe.ship|it is a FIFO" "/dev/null|it is a device" "${long}.ship|it cannot be opened \\(File name too long\\)")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 why)
  run(2 "error: ${why}\ntotal: 0 file" "could not be read: ${why}\\.\n$" check "${name}")
  run(2 "" "could not be read: ${why}\\.\n$" get "${name}" buildCost)
endforeach()
run(2 "" "could not be read: it is a folder\\.\n$" get folder.ship buildCost)
run(2 "\"status\":\"unreadable\",\"reason\":\"it is a FIFO\"" "could not be read" check --format json pipe.ship)

# Escape sequences in a script reach the terminal only escaped.
string(ASCII 27 esc)
string(ASCII 7 bel)
file(WRITE "${WORK}/esc.ship" "NewShipType.mass = ${esc}]0;owned${bel}${esc}[2J\r\n")
run(3 "NewShipType\\.mass = \\\\x1B\\]0;owned\\\\x07\\\\x1B\\[2J" "" check esc.ship)
if(out MATCHES "${esc}")
  message(SEND_ERROR "check passed an escape character to the terminal: ${out}")
endif()

# A folder it may not search is reported, with the system's reason, and fails the run; the rest
# is still checked. Root may search anything, so then the tool runs as another user.
file(MAKE_DIRECTORY "${WORK}/mod/open" "${WORK}/mod/closed")
file(WRITE "${WORK}/mod/open/a.ship" "NewShipType.buildCost = 1\r\n")
file(WRITE "${WORK}/mod/closed/b.ship" "NewShipType.buildCost = 1\r\n")
file(CHMOD "${WORK}/mod/closed" PERMISSIONS OWNER_READ OWNER_WRITE)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(as_user "")
if(uid STREQUAL "0")
  set(as_user setpriv --reuid=65534 --regid=65534 --clear-groups --)
endif()
execute_process(COMMAND ${as_user} "${CLI}" check mod WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT got STREQUAL "2" OR NOT out MATCHES "open/a\\.ship: 0 error"
   OR NOT out MATCHES "mod/closed: error: it could not be searched \\(Permission denied\\)"
   OR NOT err MATCHES "mod/closed' could not be searched: Permission denied")
  message(SEND_ERROR "an unsearchable folder: exit ${got}\nstdout: ${out}\nstderr: ${err}")
endif()
file(CHMOD "${WORK}/mod/closed" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# Out of memory under a cap: a message and exit 2, never an abort (not under the sanitizers,
# whose own memory needs the cap would break).
if(NOT SANITIZE)
  string(REPEAT "y" 280 pad)
  string(REPEAT "NewShipType.x = \"${pad}\"\n" 1000 block)
  file(WRITE "${WORK}/lines.ship" "")
  foreach(i RANGE 1 100)  # 100,000 lines of 300 bytes: under the limits of lines and bytes, over the cap
    file(APPEND "${WORK}/lines.ship" "${block}")
  endforeach()
  foreach(command "get;lines.ship;buildCost" "check;lines.ship" "normalize;lines.ship;out.ship")
    execute_process(COMMAND sh -c "ulimit -v 60000; exec \"$0\" \"$@\"" "${CLI}" ${command}
                    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE got ERROR_VARIABLE err)
    if(NOT got STREQUAL "2" OR NOT err MATCHES "too large for the memory available")
      message(SEND_ERROR "${command} under a memory cap: exit ${got}, stderr: ${err}")
    endif()
  endforeach()
endif()
