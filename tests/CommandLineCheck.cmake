# Runs the program as a terminal user would, with no display to be had: --help, -h and --version
# answer on standard output and exit 0, an unknown option is refused on standard error with 2.
# Variables: VELMORA (the program), VERSION (the project's version).
function(run expected_rc)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                          QT_QPA_PLATFORM=xcb "${VELMORA}" ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT rc STREQUAL expected_rc)
    message(FATAL_ERROR "velmora ${ARGN}: exit ${rc}, expected ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

foreach(option --help -h)
  run(0 ${option})
  if(NOT out MATCHES "^Usage: velmora \\[OPTION\\]" OR NOT out MATCHES "\n  --version" OR
     NOT err STREQUAL "")
    message(FATAL_ERROR "velmora ${option} printed:\n${out}\nand on standard error:\n${err}")
  endif()
endforeach()

run(0 --version)
if(NOT out STREQUAL "Velmora ${VERSION}\n" OR NOT err STREQUAL "")
  message(FATAL_ERROR "velmora --version printed '${out}' and '${err}'")
endif()

# A folder before the option changes nothing; the toolkit's own options are not ours to refuse.
run(2 /tmp --bogus --help)
if(NOT err STREQUAL "velmora: unknown option '--bogus'\nTry 'velmora --help' for more information.\n"
   OR NOT out STREQUAL "")
  message(FATAL_ERROR "velmora --bogus printed '${out}' and '${err}'")
endif()
run(0 -style fusion --version)
