# tarvisk-cli get and set on copies of the sample: values printed, files changed line by line,
# the diff of --dry-run, --output, and the refusals that leave every file as it was.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(READ "${SAMPLE}" original)
configure_file("${SAMPLE}" "${WORK}/a.ship" COPYONLY)
configure_file("${SAMPLE}" "${WORK}/b.ship" COPYONLY)

include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")

function(expect_file path expected)
  file(READ "${path}" content)
  if(NOT content STREQUAL expected)
    message(SEND_ERROR "${path} is not as expected:\n${content}")
  endif()
endfunction()

set(one_line "^tarvisk-cli: [^\n]*\n$")

# get: entry names in any case, field names, the level-of-detail slots, strings quoted.
run(0 "^buildCost = 75\nDISPLAYEDNAME = \"Tarvish Pathfinder\"\niMass = 14\nupLOD = 600, 1200, 0\nmirrorAboveManeuver = \"Loop, RollCW\"\n$" ""
    get a.ship buildCost DISPLAYEDNAME iMass upLOD mirrorAboveManeuver)
run(2 "" "${one_line}" get a.ship buildCost noSuchEntry)
run(1 "" "does not exist" get missing.ship buildCost)

# --dry-run: a unified diff of the one changed line, nothing written. (The captured output may
# have its CR LF turned into LF.)
run(0 "^--- a.ship\n\\+\\+\\+ a.ship\n@@ -3,7 \\+3,7 @@\n[^\n]*\n[^\n]*\n[^\n]*\n-NewShipType.buildCost = 75\r?\n\\+NewShipType.buildCost = 80\r?\n" ""
    set --dry-run buildcost=80 -- a.ship)
expect_file("${WORK}/a.ship" "${original}")

# set: in place, only the entries' lines change; --output writes elsewhere and keeps the input.
run(0 "" "" set buildCost=80 iMass=15 "displayedName=Tarvish Wayfinder" -- a.ship b.ship)
string(REPLACE "buildCost = 75" "buildCost = 80" edited "${original}")
string(REPLACE "NewShipType.mass=14" "NewShipType.mass = 15" edited "${edited}")
string(REPLACE "\"Tarvish Pathfinder\"" "\"Tarvish Wayfinder\"" edited "${edited}")
expect_file("${WORK}/a.ship" "${edited}")
expect_file("${WORK}/b.ship" "${edited}")
run(0 "" "" set --output out.ship buildCost=75 iMass=14 "displayedName=Tarvish Pathfinder" -- a.ship)
expect_file("${WORK}/a.ship" "${edited}")
run(0 "^iMass = 14\n$" "" get out.ship iMass)

# Refused: nothing is written, one line names the key or the value.
run(2 "" "^tarvisk-cli: unknown key 'tumbleSpeed'\n$" set buildCost=1 tumbleSpeed=4 -- a.ship)
run(2 "" "^tarvisk-cli: 'lots' is not a valid value for buildCost[^\n]*\n$" set buildCost=lots -- a.ship)
run(2 "" "${one_line}" set "displayedName=say \"hi\"" -- a.ship)
run(2 "" "${one_line}" set upLOD=0,5 -- a.ship)
run(2 "" "${one_line}" set --output x.ship buildCost=1 -- a.ship b.ship)
expect_file("${WORK}/a.ship" "${edited}")
run(1 "" "missing\\.ship' does not exist" set buildCost=2 -- missing.ship b.ship)
run(2 "" "could not be saved" set --output no/such/folder/x.ship buildCost=3 -- b.ship)
run(2 "" "usage" set buildCost=2 a.ship)
