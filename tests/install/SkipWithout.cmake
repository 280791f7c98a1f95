# skip_without(VARIABLE TOOL): finds TOOL, or ends the calling check with the
# line that CTest reads as a skip (SKIP_REGULAR_EXPRESSION in
# tests/CMakeLists.txt). Only a missing tool skips; its findings never do.
macro(skip_without variable tool)
  find_program(${variable} ${tool})
  if(NOT ${variable})
    message(STATUS "SKIPPED: ${tool} is missing (tools/install-deps.sh installs it)")
    return()
  endif()
endmacro()
