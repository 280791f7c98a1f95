# Runs cid-generate on input its standard cannot carry: each row must end
# with status 2, one line on standard error that names the fault, and no
# file written. The last rows are sound input at the limits, written.
#   cmake -DGENERATOR=... -DOUT=... -P CheckGeneratorInput.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
set(wav ${OUT}/burst.wav)

# status | start of the error line | arguments
set(rows
  "2|--level must be from -80 to 0 dBm0|--number 123 --level 0.5"
  "2|--level must be from -80 to 0 dBm0|--number 123 --level -81"
  "2|--level needs a number, not 'inf'|--number 123 --level inf"
  "2|--date 13011200 is no date and time: month 13|--number 123 --date 13011200"
  "2|--date 01991200 is no date and time: month 01, day 99|--number 123 --date 01991200"
  "2|--date 04311200 is no date and time|--number 123 --date 04311200"
  "2|--date 01012400 is no date and time|--number 123 --date 01012400"
  "2|--date must be MMDDHHMM, not '1201'|--number 123 --date 1201"
  "2|give --number or --withheld, not both|--number 123 --withheld P"
  "2|--number: bell202 carries at most 15 characters, not 16|--standard bell202 --number 1234567890123456"
  "2|--number: v23 carries at most 20 characters, not 21|--standard v23 --number 123456789012345678901"
  "2|--number: dtmf carries at most 20 characters, not 21|--standard dtmf --number 123456789012345678901"
  "2|--name: bell202 carries at most 15 characters, not 16|--standard bell202 --number 1 --name ABCDEFGHIJKLMNOP"
  "2|--name: DTMF carries no name|--standard dtmf --number 123 --name AHMET"
  "2|--date: DTMF carries no date|--standard dtmf --number 123 --date 01011200"
  "2|--sdmf carries the date and number only, no --name|--sdmf --number 123 --name AHMET"
  "2|--seed must be a whole number from 1 to 1073741824|--number 123 --seed 1e300"
  "2|--channels must be a whole number from 1 to 4|--number 123 --channels 2.5"
  "2|Unknown option 'no-such-option'|--number 123 --no-such-option"
  "2|Missing value after '--level'|--number 123 --level"
  "2|unexpected argument 'extra'|--number 123 extra"
  "0||--standard bell202 --number 123456789012345 --name ABCDEFGHIJKLMNO --date 02292359 --level 0"
  "0||--standard dtmf --number 12345678901234567890 --level -80")

foreach(row ${rows})
  string(REPLACE "|" ";" fields "${row}")
  list(POP_FRONT fields expect_status expect_error shown)
  separate_arguments(arguments UNIX_COMMAND "${shown}")
  file(REMOVE ${wav})
  execute_process(COMMAND ${GENERATOR} --out ${wav} ${arguments}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_status EQUAL 0)
    if(NOT status EQUAL 0 OR NOT EXISTS ${wav} OR NOT err STREQUAL "")
      string(APPEND failures "\n  ${shown}: status ${status}, errors [${err}], written: ${wav}")
    endif()
  else()
    string(REGEX MATCHALL "\n" lines "${err}")
    list(LENGTH lines line_count)
    string(FIND "${err}" "cid-generate: ${expect_error}" at)
    if(NOT status EQUAL expect_status OR NOT line_count EQUAL 1 OR NOT at EQUAL 0 OR EXISTS ${wav}
       OR NOT out STREQUAL "")
      string(APPEND failures "\n  ${shown}: status ${status}, errors [${err}], expected \"${expect_error}\"")
    endif()
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "cid-generate took input it should refuse, or refused sound input:${failures}")
endif()
message(STATUS "cid-generate refused every bad input")
