# run(<expected exit code> <stdout regex> <stderr regex> args...): runs ${program} (CLI unless the
# test says otherwise) with the variables of ${env}, through EMULATOR when given (Wine for a Windows
# build), in WORK; "" matches an empty stream. Every failed expectation is reported and the test
# fails at the end; the output is left in ${out}.
if(NOT DEFINED program)
  set(program "${CLI}")
endif()
if(NOT DEFINED env)
  set(env "")
endif()
function(run rc outre errre)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} ${EMULATOR} "${program}" ${ARGN}
                  WORKING_DIRECTORY "${WORK}"
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
  set(out "${out}" PARENT_SCOPE)
endfunction()
