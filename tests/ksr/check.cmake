# Runs qmosk-ksr on a text and checks its last line: "keystroke savings: "
# and a figure of three decimals, at least MIN (and exactly EXPECT when given).
# cmake -DKSR=<tool> -DTEXT=<file> [-DMIN=0.46] [-DEXPECT=0.750] -P check.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../last_figure.cmake)
last_figure(PREFIX ksr PATTERN "^keystroke savings: (0\\.[0-9][0-9][0-9])$" COMMAND "${KSR}" "${TEXT}")
set(figure ${ksr_1})
if(DEFINED EXPECT AND NOT figure STREQUAL EXPECT)
  message(FATAL_ERROR "expected ${EXPECT}, got ${figure}\n${ksr_OUT}")
endif()
if(DEFINED MIN AND figure LESS MIN)
  message(FATAL_ERROR "${figure} is below ${MIN}\n${ksr_OUT}")
endif()
message(STATUS "${TEXT}: ${figure}")
