# tarvisk-cli check as a CI job runs it over a mod built on the base game: two data directories,
# ignore comments, a baseline that outlives moved lines, and the SARIF and GitHub formats.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${LAYERED}/base" "${LAYERED}/mod" DESTINATION "${WORK}")
include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")
set(raider "mod/ship/lyr_raider/lyr_raider.ship")
string(REPLACE "/" "[/\\]" raider_re "${raider}")  # as found: with the system's separators

# A name only the mod defines and one only the base game defines: both known with the two folders;
# with one of them, the other's names are unknown.
run(0 "total: 3 file\\(s\\) read, 0 error line\\(s\\), 0 unknown name\\(s\\)\n$" ""
    check --data base --data mod base mod)
run(3 "unknown family 'Raider'[^\n]*\n[^\n]*unknown weapon 'lyr_modrail'" "" check --data base mod/ship/lyr_raider)
run(3 "unknown formation 'lyr_wedge'[^\n]*\n[^\n]*unknown weapon 'lyr_basecannon'" "" check --data mod mod/ship/lyr_raider)
# The mod's family list replaces the base game's: a family only the base game's list has is unknown.
file(WRITE "${WORK}/bomber.ship" "NewShipType = StartShipConfig()\nNewShipType.AttackFamily = \"Bomber\"\n")
run(3 "unknown family 'Bomber'" "" check --data base --data mod bomber.ship)
run(1 "" "data directory 'nowhere' does not exist" check --data base --data nowhere mod)

# Ignore comments: a line's own findings, or a whole file's.
file(READ "${WORK}/${raider}" original)
string(REPLACE "\"lyr_modrail\", \"Weapon_Left\", \"Fire_Left\")" "\"lyr_modrail\", \"Weapon_Left\", \"Fire_Left\") -- tarvisk: ignore"
       ignoring "${original}")
file(WRITE "${WORK}/${raider}" "${ignoring}")
run(3 "^[^\n]*lyr_raider\\.ship:10: warning: unknown family 'Raider'\n[^\n]*lyr_raider\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 1 unknown name\\(s\\)\n" ""
    check --data base mod/ship/lyr_raider)
file(WRITE "${WORK}/${raider}" "${original}  -- tarvisk: ignore-file\n")
run(0 "0 unknown name" "" check --data base mod/ship/lyr_raider)
file(WRITE "${WORK}/${raider}" "${original}")

# A baseline: today's two findings recorded (the run that records them passes), then known after
# lines are inserted above them; a new typo is the one finding reported.
run(0 "0 unknown name" "" check --data base --write-baseline known.txt mod)
run(0 "0 unknown name" "" check --data base --baseline known.txt mod)
string(REPLACE "NewShipType.buildCost = 300\n" "NewShipType.buildCost = 300\nNewShipType.buildTime = 41\n\n-- moved\nNewShipType.formationSpacing = \"Lyr_Wedgee\"\nNewShipType.defensiveFormation = \"lyr_wedgee\"\n"
       moved "${original}")
file(WRITE "${WORK}/${raider}" "${moved}")
run(3 "\n[^\n]*lyr_raider\\.ship:9: note: kept as written: [^\n]*\n[^\n]*lyr_raider\\.ship:10: warning: unknown formation 'lyr_wedgee' \\(did you mean 'lyr_wedge'\\?\\)\n[^\n]*lyr_raider\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 1 unknown name\\(s\\)\ntotal: 2 file\\(s\\) read, 0 error line\\(s\\), 1 unknown name\\(s\\)\n$" ""
    check --data base --baseline known.txt mod)
# The same finding twice is known once: the second is new.
file(APPEND "${WORK}/${raider}" "StartShipWeaponConfig(NewShipType, \"lyr_modrail\", \"Weapon_Left\", \"Fire_Left\")\n")
run(3 "unknown weapon 'lyr_modrail'\n[^\n]*lyr_raider\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim, 2 unknown name\\(s\\)" ""
    check --data base --baseline known.txt mod)
run(1 "" "baseline 'absent.txt' does not exist" check --baseline absent.txt mod)

# SARIF 2.1.0: the members a consumer requires, each result with its rule, file and line.
run(3 "^\\{" "" check --format sarif --data base --baseline known.txt mod)
set(sarif "${out}")
string(JSON version GET "${sarif}" version)
string(JSON runs LENGTH "${sarif}" runs)
string(JSON driver GET "${sarif}" runs 0 tool driver name)
string(JSON results LENGTH "${sarif}" runs 0 results)
string(JSON rules LENGTH "${sarif}" runs 0 tool driver rules)
if(NOT version STREQUAL "2.1.0" OR NOT runs EQUAL 1 OR NOT driver STREQUAL "tarvisk-cli" OR NOT results EQUAL 3)
  message(SEND_ERROR "SARIF: version ${version}, ${runs} run(s), driver ${driver}, ${results} result(s):\n${sarif}")
endif()
set(seen "")
math(EXPR last "${results} - 1")
foreach(i RANGE ${last})
  string(JSON rule GET "${sarif}" runs 0 results ${i} ruleId)
  string(JSON index GET "${sarif}" runs 0 results ${i} ruleIndex)
  string(JSON described GET "${sarif}" runs 0 tool driver rules ${index} id)
  string(JSON level GET "${sarif}" runs 0 results ${i} level)
  string(JSON message GET "${sarif}" runs 0 results ${i} message text)
  string(JSON uri GET "${sarif}" runs 0 results ${i} locations 0 physicalLocation artifactLocation uri)
  string(JSON line GET "${sarif}" runs 0 results ${i} locations 0 physicalLocation region startLine)
  if(NOT rule STREQUAL described OR NOT level MATCHES "^(error|warning|note)$" OR message STREQUAL ""
     OR NOT uri STREQUAL "${raider}" OR NOT line MATCHES "^[1-9][0-9]*$")
    message(SEND_ERROR "SARIF result ${i}: ${rule} (rule ${index}: ${described}) ${level} ${uri}:${line} '${message}'")
  endif()
  list(APPEND seen "${rule}:${line}")
endforeach()
if(NOT seen STREQUAL "unreadable-line:9;unknown-formation:10;unknown-weapon:19")
  message(SEND_ERROR "SARIF results ${seen}")
endif()

# GitHub workflow commands: every line one command, with file, line and message.
run(3 "^::" "" check --format github --data base --baseline known.txt mod)
string(REGEX REPLACE "\n$" "" github "${out}")
string(REPLACE "\n" ";" lines "${github}")
list(LENGTH lines count)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^::(error|warning|notice) file=[^,:]+,line=[1-9][0-9]*,title=[a-z-]+::[^\r]+$")
    message(SEND_ERROR "not a workflow command: ${line}")
  endif()
endforeach()
if(NOT count EQUAL 3 OR NOT github MATCHES "::notice file=${raider_re},line=9,title=unreadable-line::kept as written: ")
  message(SEND_ERROR "GitHub lines:\n${out}")
endif()
