# Shared by the -P scripts that build and install Kalendo in a temporary folder.

# Fails unless every named variable was given with -D.
function(require_vars)
  foreach(var ${ARGN})
    if(NOT DEFINED ${var})
      message(FATAL_ERROR "${var} is not set")
    endif()
  endforeach()
endfunction()

# Runs a command and stops the script when it fails; its output is left in last_output.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: done")
  set(last_output "${out}${err}" PARENT_SCOPE)
endfunction()
