# Two tarvisk-cli runs started together on one file, with different entries, round after round:
# two set runs, then apply (from a table) against set. Each run either takes effect or is refused
# with exit 2; none reports success and loses its edit.
# Under Wine each run starts slowly: fewer rounds there, half of them apply against set.
set(rounds 50)
if(EMULATOR)
  set(rounds 12)
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

set(failures 0)
foreach(round RANGE 1 ${rounds})
  configure_file("${SAMPLE}" "${WORK}/race.ship" COPYONLY)
  math(EXPR cost "100 + ${round}")
  math(EXPR mass "200 + ${round}")
  file(WRITE "${WORK}/cost.csv" "file,buildCost\nrace.ship,${cost}\n")
  # Commands of one execute_process run at the same time.
  math(EXPR half "${rounds} / 2")
  if(round LESS_EQUAL half)
    set(cost_command set buildCost=${cost} -- race.ship)
  else()
    set(cost_command apply cost.csv)
  endif()
  execute_process(
    COMMAND ${EMULATOR} "${CLI}" ${cost_command}
    COMMAND ${EMULATOR} "${CLI}" set iMass=${mass} -- race.ship
    WORKING_DIRECTORY "${WORK}"
    RESULTS_VARIABLE codes ERROR_VARIABLE err OUTPUT_QUIET)
  list(GET codes 0 cost_rc)
  list(GET codes 1 mass_rc)
  file(READ "${WORK}/race.ship" content)
  foreach(pair "cost_rc;buildCost = ${cost}" "mass_rc;mass = ${mass}")
    list(GET pair 0 rc_name)
    list(GET pair 1 line)
    set(rc "${${rc_name}}")
    string(FIND "${content}" "${line}" at)
    if(rc STREQUAL "0" AND at EQUAL -1)
      message(SEND_ERROR "round ${round} (${cost_command}): '${line}' reported as set but lost:\n${content}")
    elseif(NOT rc STREQUAL "0" AND NOT rc STREQUAL "2")
      message(SEND_ERROR "round ${round}: exit ${rc}: ${err}")
    endif()
  endforeach()
endforeach()
