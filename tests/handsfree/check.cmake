# Runs qmosk-handsfree on a text, twice with the same seed, and checks its
# last line: "characters per minute: <x>, errors per 100 characters: <y>",
# the same both times, x at least MIN_CPM.
# cmake -DTOOL=<tool> -DTEXT=<file> -DMETHOD=scan -DTIMING=fixed -DMIN_CPM=1 -P check.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../last_figure.cmake)
foreach(run 1 2)
  last_figure(PREFIX hf
              PATTERN "^characters per minute: ([0-9]+\\.[0-9][0-9]), errors per 100 characters: ([0-9]+\\.[0-9][0-9])$"
              REFUSE "gave up" WHY "the simulated person gave up"
              COMMAND "${TOOL}" --method ${METHOD} --timing ${TIMING} --seed 7 "${TEXT}")
  set(figure${run} "${hf_LINE}")
  set(cpm ${hf_1})
endforeach()
if(NOT figure1 STREQUAL figure2)
  message(FATAL_ERROR "the same seed gave two figures: '${figure1}', '${figure2}'")
endif()
if(cpm LESS MIN_CPM)
  message(FATAL_ERROR "${cpm} characters per minute is below ${MIN_CPM}\n${hf_OUT}")
endif()
message(STATUS "${METHOD}, ${TIMING}: ${figure1}")
