# tarvisk-cli eval and --version: the ship as the game reads it, errors where Lua gives them, and
# hostile scripts stopped with nothing else done.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")

if(NOT LUA)
  run(0 "features: none \\(built without Lua" "" --version)
  run(2 "" "eval needs Lua" eval "${SAMPLES}/calls.ship")
  return()
endif()
run(0 "^tarvisk-cli [0-9.]+\nfeatures: lua\n$" "" --version)

run(0 "^buildCost = 500\nbuildTime = 40\nLoadModel\\(NewShipType, 1\\)\n" "" eval "${SAMPLES}/calls.ship")
run(0 "^{\"files\": \\[\n  {\"file\": [^\n]*calls.ship\", \"loads\": true, \"finished\": true,\n   \"keys\": {\n    \"buildCost\": 500,"
    "" eval --format json "${SAMPLES}/calls.ship")
# Lua's own line and message; what ran before a run error is still shown.
run(3 "^== [^\n]*broken.ship\n== [^\n]*stops.ship\nbuildCost = 500\nStartShipWeaponConfig"
    "broken.ship:3: error: '=' expected near '160000'\n[^\n]*stops.ship:4: error: attempt to index global 'undefinedTable' \\(a function value\\)\n$"
    eval "${SAMPLES}/broken.ship" "${SAMPLES}/stops.ship")
run(1 "" "'nowhere.ship' does not exist" eval nowhere.ship)
run(2 "" "^usage: tarvisk-cli eval" eval --format xml "${SAMPLES}/calls.ship")

# Hostile scripts: the host's functions are out of reach, endless work and memory are stopped.
file(WRITE "${WORK}/hostile_os.ship" "os.execute('touch pwned')\nio.open('pwned', 'w')\n")
file(WRITE "${WORK}/hostile_io.ship" "io.open('pwned', 'w'):write('x')\n")
file(WRITE "${WORK}/hostile_loop.ship" "NewShipType = StartShipConfig()\nwhile true do end\n")
file(WRITE "${WORK}/hostile_string.ship" "local s = 'x'\nfor i = 1, 40 do s = s .. s end\n")
run(3 "" "hostile_os.ship:1: error: attempt to index global 'os'" eval hostile_os.ship)
run(3 "" "hostile_io.ship:1: error: attempt to index global 'io'" eval hostile_io.ship)
run(3 "" "hostile_loop.ship:2: error: stopped after [0-9]+ instructions" eval hostile_loop.ship)
run(3 "" "hostile_string.ship: error: ran out of its memory allowance" eval hostile_string.ship)
if(EXISTS "${WORK}/pwned")
  message(SEND_ERROR "a hostile script reached the file system")
endif()

# A save that would change another entry's meaning: the expression is kept as written and would
# run after the later assignment of the entry it reads. Nothing is written, the entry is named, exit 2.
file(WRITE "${WORK}/reordered.ship" "NewShipType = StartShipConfig()\nNewShipType.buildCost = 7\nNewShipType.maxhealth = NewShipType.buildCost * 2\nNewShipType.buildCost = 9\n")
run(2 "" "'out.ship' could not be saved: it would change what the game reads: maxhealth would be 18 instead of 14\\.\n$"
    normalize reordered.ship out.ship)
if(EXISTS "${WORK}/out.ship")
  message(SEND_ERROR "a refused save wrote its file")
endif()
# A line of two assignments keeps its place among the lines after it: normalized without refusal.
file(WRITE "${WORK}/two.ship" "NewShipType = StartShipConfig()\nNewShipType.mass, NewShipType.buildCost = 5, 7\nNewShipType.buildCost = 9\n")
run(0 "" "" normalize two.ship two_out.ship)
