# tarvisk-cli check over a mod: findings with their lines, the JSON form read back, folders searched
# recursively, exit codes, and no logs written.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/bin" "${WORK}/broken/deeper")
# A copy of the tool of its own, so that logs it wrote beside itself would show.
file(COPY "${CLI}" DESTINATION "${WORK}/bin")
get_filename_component(name "${CLI}" NAME)
set(CLI "${WORK}/bin/${name}")

# One finding of each kind, on known lines (line 10: a name that needs escaping in JSON).
string(CONCAT broken
  "NewShipType = StartShipConfig()\r\n"
  "NewShipType.passiveFormation = \"claww\"\r\n"
  "NewShipType.mass = heavy\r\n"
  "NewShipType.AttackFamily = \"Fightr\"\r\n"
  "NewShipType.mirrorAboveManeuver = \"Loop, TvkCorkscrw\"\r\n"
  "StartShipWeaponConfig(NewShipType, \"tvk_needlegn\", \"Weapon_Nose\", \"Fire_Nose\")\r\n"
  "SpawnSalvageOnDeath(NewShipType, \"zzz_unknownchunk\", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)\r\n"
  "NewShipType.dockFormation = \"DOCKLINE\"\r\n"
  "NewShipType.BuildFamily = \"tvk_yard\"\r\n"
  "NewShipType.DisplayFamily = \"Bad\\Name\tx\"\r\n")
file(WRITE "${WORK}/broken/deeper/broken.ship" "${broken}")

include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")

# The consistent sample mod: both scripts found under their folders, nothing found in them.
run(0 "^[^\n]*tvk_arcboat\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 0 unknown name\\(s\\)\n[^\n]*tvk_lancer\\.ship: 0 error[^\n]*, 0 unknown name\\(s\\)\ntotal: 2 file\\(s\\) read, 0 error line\\(s\\), 0 unknown name\\(s\\)\n$" ""
    check --data "${DATA}" "${MOD}")

# Each kind of unknown name, with its line and suggestion; the line kept as written in between, a
# note that counts as no error.
string(CONCAT expected
  "broken\\.ship:2: warning: unknown formation 'claww' \\(did you mean 'claw'\\?\\)\n"
  "[^\n]*broken\\.ship:3: note: kept as written: NewShipType\\.mass = heavy\n"
  "[^\n]*broken\\.ship:4: warning: unknown family 'Fightr' \\(did you mean 'Fighter'\\?\\)\n"
  "[^\n]*broken\\.ship:5: warning: unknown maneuver 'TvkCorkscrw' \\(did you mean 'TvkCorkscrew'\\?\\)\n"
  "[^\n]*broken\\.ship:6: warning: unknown weapon 'tvk_needlegn' \\(did you mean 'tvk_needlegun'\\?\\)\n"
  "[^\n]*broken\\.ship:7: warning: unknown salvage chunk 'zzz_unknownchunk'\n"
  "[^\n]*broken\\.ship:10: warning: unknown family 'Bad\\\\Name\tx'\n"
  "[^\n]*broken\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 6 unknown name\\(s\\)\n"
  "total: 3 file\\(s\\) read, 0 error line\\(s\\), 6 unknown name\\(s\\)\n$")
run(3 "${expected}" "" check --data "${DATA}" "${MOD}" broken)
# Without --data a note alone: the run passes.
run(0 "broken\\.ship:3: note: kept as written: NewShipType\\.mass = heavy\n[^\n]*broken\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim\ntotal: 1 file\\(s\\) read, 0 error line\\(s\\)\n$" ""
    check broken)

# The JSON form, read back.
run(3 "^\\{" "" check --format json --data "${DATA}" broken "${MOD}/ships/tvk_lancer.ship")
set(json "${out}")
string(JSON files LENGTH "${json}" files)
string(JSON unknown LENGTH "${json}" files 0 unknown_names)
string(JSON path GET "${json}" files 0 path)
string(JSON errors LENGTH "${json}" files 0 errors)
string(JSON errline GET "${json}" files 0 notes 0 line)
string(JSON errtext GET "${json}" files 0 notes 0 text)
string(JSON kind5 GET "${json}" files 0 unknown_names 3 kind)
string(JSON name5 GET "${json}" files 0 unknown_names 3 name)
string(JSON line5 GET "${json}" files 0 unknown_names 3 line)
string(JSON sugg5 GET "${json}" files 0 unknown_names 3 suggestion)
string(JSON sugg6 TYPE "${json}" files 0 unknown_names 4 suggestion)
string(JSON odd GET "${json}" files 0 unknown_names 5 name)
string(JSON kept TYPE "${json}" files 1 kept_verbatim)
string(JSON total GET "${json}" total unknown_names)
set(got "${files}|${unknown}|${errors}|${errline}|${errtext}|${kind5}|${name5}|${line5}|${sugg5}|${sugg6}|${kept}|${total}")
set(want "2|6|0|3|NewShipType.mass = heavy|weapon|tvk_needlegn|6|tvk_needlegun|NULL|NUMBER|6")
if(NOT got STREQUAL want OR NOT path MATCHES "broken\\.ship$" OR NOT odd STREQUAL "Bad\\Name\tx")
  message(SEND_ERROR "JSON read back as ${got} (path ${path}, name ${odd}), expected ${want}:\n${json}")
endif()

# Exit codes: a missing script 1 (the others still checked), a missing data directory 1, wrong use 2.
run(1 "tvk_lancer\\.ship: 0 error" "missing\\.ship' does not exist" check missing.ship "${MOD}")
run(1 "" "data directory[^\n]*does not exist" check --data "${WORK}/no-data" broken)
run(2 "" "usage" check --format xml broken)
run(2 "" "usage" check --data)
run(2 "" "usage" check --frobnicate broken)

if(EXISTS "${WORK}/bin/debug.txt" OR EXISTS "${WORK}/bin/errors.txt" OR EXISTS "${WORK}/debug.txt")
  message(SEND_ERROR "check wrote the logs")
endif()
