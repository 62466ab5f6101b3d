# cmake -DTOOL=... -DDEFINITION=... -DOUTPUT=... -DREFUSAL=... -P refused.cmake
# The form tool refuses DEFINITION: it ends with a failure status, says
# REFUSAL, and leaves no OUTPUT that a build could take for a form.
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${TOOL} ${DEFINITION} ${OUTPUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(status EQUAL 0)
  message(FATAL_ERROR "the form tool took ${DEFINITION}: status 0")
endif()
string(FIND "${said}" "${REFUSAL}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the form tool did not say \"${REFUSAL}\" but:\n${said}")
endif()
if(EXISTS ${OUTPUT})
  message(FATAL_ERROR "the form tool refused ${DEFINITION} but wrote ${OUTPUT}")
endif()
