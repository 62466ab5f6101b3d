# cmake -DTOOL=... -DDEFINITION=... -DOUTPUT=... -DREFUSAL=... [-DREPLACE=... -DWITH=...]
#       [-DSETTINGS=name=file;...] -P refused.cmake
# The form tool refuses DEFINITION: it ends with a failure status, says
# REFUSAL, and leaves no block and no units header that a build could take
# for a form. With REPLACE, the definition is DEFINITION with its one
# occurrence of REPLACE turned into WITH. SETTINGS are handed to the tool.
set(block ${OUTPUT}.bin)
set(units ${OUTPUT}.h)
file(REMOVE ${block} ${units})
if(DEFINED REPLACE)
  file(READ ${DEFINITION} text)
  string(REPLACE "${REPLACE}" "${WITH}" changed "${text}")
  if(changed STREQUAL text)
    message(FATAL_ERROR "${DEFINITION} has no ${REPLACE}")
  endif()
  set(DEFINITION ${OUTPUT}.txt)
  file(WRITE ${DEFINITION} "${changed}")
endif()
execute_process(COMMAND ${TOOL} ${DEFINITION} ${block} ${units} ${SETTINGS}
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(status EQUAL 0)
  message(FATAL_ERROR "the form tool took ${DEFINITION}: status 0")
endif()
string(FIND "${said}" "${REFUSAL}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the form tool did not say \"${REFUSAL}\" but:\n${said}")
endif()
if(EXISTS ${block} OR EXISTS ${units})
  message(FATAL_ERROR "the form tool refused ${DEFINITION} but wrote ${block} or ${units}")
endif()
