# Runs tarvisk-cli on scripts of its own and checks exit code, standard output and standard error.
# Every failed expectation is reported; the test fails if there was any.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/bad.ship" "NewShipType.mass = heavy\r\nSpawnSalvageOnDeath(NewShipType, \"s\", 1)\r\nodd()\r\n")
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

function(run rc outre errre)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(what "tarvisk-cli ${ARGN}")
  if(NOT got STREQUAL "${rc}")
    message(SEND_ERROR "${what}: exit ${got}, expected ${rc}\nstdout: ${out}\nstderr: ${err}")
  endif()
  foreach(stream out err)
    set(re "${${stream}re}")
    if(re STREQUAL "" AND NOT "${${stream}}" STREQUAL "")
      message(SEND_ERROR "${what}: expected no std${stream}, got: ${${stream}}")
    elseif(NOT re STREQUAL "" AND NOT "${${stream}}" MATCHES "${re}")
      message(SEND_ERROR "${what}: std${stream} does not match '${re}': ${${stream}}")
    endif()
  endforeach()
endfunction()

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
run(0 "" "^tarvisk-cli: 2 line[^\n]*errors\\.txt[^\n]*\n$" normalize bad.ship "${WORK}/bad_out.ship")
read(text "${WORK}/bad_out.ship")

# check: one line per file; 3 when a file had errors; 1 for a missing one, the others still checked.
run(0 "^[^\n]*tvk_scout\\.ship: 0 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim\ntotal: 1 file\\(s\\) read, 0 error line\\(s\\)\n$" "" check "${SAMPLE}")
run(3 "tvk_scout\\.ship: 0 error[^\n]*\n(bad\\.ship:[0-9]+: error: [^\n]*\n)+bad\\.ship: 2 error line\\(s\\), [0-9]+ line\\(s\\) kept verbatim\ntotal: 2 file\\(s\\) read, 2 error line\\(s\\)\n$" ""
    check "${SAMPLE}" bad.ship)
run(1 "bad\\.ship: 2 error" "missing\\.ship' does not exist" check missing.ship bad.ship)

# Wrong use: a usage text and 2.
run(2 "" "usage" )
run(2 "" "usage" normalize only-one-argument)
run(2 "" "usage" frobnicate x)
