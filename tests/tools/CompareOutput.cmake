# Runs TOOL with ARGS (a |-separated list) and checks its exit code against RC and,
# when EXPECTED is given, its standard output against that file byte for byte.
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc STREQUAL RC)
  message(FATAL_ERROR "exit code ${rc}, expected ${RC}\n${err}")
endif()
if(EXPECTED)
  file(READ ${EXPECTED} want)
  if(NOT out STREQUAL want)
    file(WRITE ${OUTPUT} "${out}")
    message(FATAL_ERROR "output differs from ${EXPECTED}; got ${OUTPUT}")
  endif()
endif()
