# What the figure tools' checks share (tests/ksr, tests/handsfree): run the
# tool, and read the figure from its last line.
#
# last_figure(PREFIX <p> PATTERN <regex> [REFUSE <regex> WHY <text>] COMMAND <tool> <args>...)
# fails when the tool fails, when its output matches REFUSE (saying WHY),
# or when its last line does not match PATTERN. Sets <p>_LINE to the last
# line, <p>_OUT to the whole output and <p>_1, <p>_2 to PATTERN's groups.
function(last_figure)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "PREFIX;PATTERN;REFUSE;WHY" "COMMAND")
  list(GET arg_COMMAND 0 tool)
  get_filename_component(name "${tool}" NAME_WE)
  execute_process(COMMAND ${arg_COMMAND} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name} failed (${rc}):\n${out}")
  endif()
  if(DEFINED arg_REFUSE AND out MATCHES "${arg_REFUSE}")
    message(FATAL_ERROR "${arg_WHY}:\n${out}")
  endif()
  string(REGEX MATCH "[^\n]*\n?$" last "${out}")
  string(STRIP "${last}" last)
  if(NOT last MATCHES "${arg_PATTERN}")
    message(FATAL_ERROR "last line is not the figure: '${last}'\n${out}")
  endif()
  set(${arg_PREFIX}_LINE "${last}" PARENT_SCOPE)
  set(${arg_PREFIX}_OUT "${out}" PARENT_SCOPE)
  set(${arg_PREFIX}_1 "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set(${arg_PREFIX}_2 "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()
