# Runs loan-analyzer --report and checks the figures the Details and Amortize pages show for
# 100,000 at 6 % over 360 months.
execute_process(COMMAND ${TOOL} --report --locale en_US 100000 6 360 "Test loan" 2002-01-31
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "loan-analyzer failed (${rc}): ${err}")
endif()
foreach(expected
    "Monthly Pymnt,$599.55\n"
    "Total Interest,\"$115,838.29\"\n"
    "No.,Date,Principal,Interest,Balance\n"
    "1,1/31/02,99.55,500.00,\"99,900.45\"\n"
    "2,2/28/02,"
    ",0.14\n")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing \"${expected}\" in the report:\n${out}")
  endif()
endforeach()
string(REGEX MATCHALL "\n[0-9]+," rows "${out}")
list(LENGTH rows count)
if(NOT count EQUAL 360)
  message(FATAL_ERROR "expected 360 schedule rows, found ${count}")
endif()
string(FIND "${out}" "\n360,12/31/31," last)
if(last EQUAL -1)
  message(FATAL_ERROR "the last payment is not dated December 2031:\n${out}")
endif()

# Bad input is refused with a message, not a report.
execute_process(COMMAND ${TOOL} --report 100000 abc 360 RESULT_VARIABLE rc ERROR_VARIABLE err
  OUTPUT_QUIET)
if(NOT rc EQUAL 2 OR NOT err MATCHES "RATE is not a number")
  message(FATAL_ERROR "a rate of abc was not refused: ${rc} ${err}")
endif()
