# tarvisk-cli table and apply over a mod and its base game: a table applied unchanged writes
# nothing, edited cells change exactly their lines, and one refused cell writes nothing at all.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${LAYERED}/base" "${LAYERED}/mod" DESTINATION "${WORK}")
include("${CMAKE_CURRENT_LIST_DIR}/clirun.cmake")
set(frigate "base/ship/lyr_frigate/lyr_frigate.ship")
set(picket "mod/ship/lyr_picket/lyr_picket.ship")
set(raider "mod/ship/lyr_raider/lyr_raider.ship")
foreach(script frigate picket raider)
  file(READ "${WORK}/${${script}}" ${script}_before)
  # As found in a folder: with the system's separators.
  string(REPLACE "/" "[/\\]" ${script}_re "${${script}}")
endforeach()

function(expect_unchanged what)
  foreach(script frigate picket raider)
    file(READ "${WORK}/${${script}}" now)
    if(NOT now STREQUAL "${${script}_before}")
      message(SEND_ERROR "${what}: ${${script}} changed:\n${now}")
    endif()
  endforeach()
endfunction()

# The table: one row per script of both folders, every entry any of them sets, values as written
# (a plain string without its quotes, quoted in the CSV where it holds a comma).
run(0 "^file,displayedName,sobDescription,buildCost,buildTime,mass,maxhealth,passiveFormation,AttackFamily\r?\n${frigate_re},Lyr Frigate,,900,60,,4000,,Fighter\r?\n${picket_re},Lyr Picket,,120,20,,500,,Fighter\r?\n${raider_re},Lyr Raider,\"Hits, runs, hides\",300,40,25,900,lyr_wedge,Raider\r?\n$" ""
    table base mod)
file(WRITE "${WORK}/balance.csv" "${out}")
set(table "${out}")
run(0 "^\\[\n\\{\"file\":\"[^\"]*lyr_picket\\.ship\",\"buildCost\":\"120\",\"mass\":null\\},\n" "" table --format json --fields buildCost,mass mod)

# Applied as it is: nothing to do, nothing written.
run(0 "" "" apply --dry-run balance.csv)
run(0 "" "" apply balance.csv)
expect_unchanged("an unchanged table")

# Three edited cells (one of them a string with a comma): exactly three lines change.
string(REPLACE ",900,60," ",950,60," edited "${table}")
string(REPLACE ",120,20," ",135,20," edited "${edited}")
string(REPLACE "\"Hits, runs, hides\"" "\"Hits, runs, vanishes\"" edited "${edited}")
file(WRITE "${WORK}/balance.csv" "${edited}")
# One bad cell among them: refused with its table, row and column, and nothing is written.
string(REPLACE ",25,900," ",heavy,900," bad "${edited}")
file(WRITE "${WORK}/bad.csv" "${bad}")
file(WRITE "${WORK}/more.csv" "file,buildCost,bogusEntry\n${picket},140,1\nmod/ship/nowhere.ship,1,\n")
run(2 "" "^bad\\.csv:4: mass: 'heavy' is not a valid value for mass[^\n]*\nmore\\.csv:1: bogusEntry: unknown key\nmore\\.csv:2: file: '${picket}' is named by bad\\.csv:3 already\nmore\\.csv:3: file: 'mod/ship/nowhere\\.ship' does not exist\ntarvisk-cli: 4 cell\\(s\\) refused; no script was written\\.\n$"
    apply bad.csv more.csv)
expect_unchanged("a refused table")

run(0 "^--- ${frigate_re}\n" "" apply --dry-run balance.csv)
expect_unchanged("a dry run")
run(0 "" "" apply balance.csv)
string(REPLACE "buildCost = 900" "buildCost = 950" frigate_want "${frigate_before}")
string(REPLACE "buildCost = 120" "buildCost = 135" picket_want "${picket_before}")
string(REPLACE "Hits, runs, hides" "Hits, runs, vanishes" raider_want "${raider_before}")
foreach(script frigate picket raider)
  file(READ "${WORK}/${${script}}" now)
  if(NOT now STREQUAL "${${script}_want}")
    message(SEND_ERROR "${${script}} after apply:\n${now}\nexpected:\n${${script}_want}")
  endif()
endforeach()
run(2 "" "usage" apply --frobnicate balance.csv)
run(1 "" "'absent\\.csv' does not exist" apply absent.csv)
