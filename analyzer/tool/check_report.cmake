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

# A principal of 0 is a loan of nothing: payment and interest 0.00, and every row 0.00.
execute_process(COMMAND ${TOOL} --report --locale en_US 0 6 360 "" 2002-01-31
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "loan-analyzer failed on a principal of 0 (${rc}): ${err}")
endif()
foreach(expected "Monthly Pymnt,$0.00\n" "Total Interest,$0.00\n" "\n1,1/31/02,0.00,0.00,0.00\n"
    "\n360,12/31/31,0.00,0.00,0.00\n")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing \"${expected}\" in the report of a principal of 0:\n${out}")
  endif()
endforeach()
# No payment can be worked out at a rate of 0: N/A and no rows.
execute_process(COMMAND ${TOOL} --report --locale en_US 100000 0 360 "" 2002-01-31
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Monthly Pymnt,N/A\nTotal Interest,N/A\n"
    OR out MATCHES "\n1,")
  message(FATAL_ERROR "a rate of 0 did not give N/A without rows (${rc}):\n${out}")
endif()

# The pages' entry limits: outside them, one line on stderr, nothing on stdout, exit 2.
foreach(case
    "60000000|6|360|PRINCIPAL" "-1|6|360|PRINCIPAL" "100000|101|360|RATE"
    "100000|-0.5|360|RATE" "100000|6|1201|MONTHS" "100000|6|14412|MONTHS"
    "100000|6|-12|MONTHS")
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 principal)
  list(GET fields 1 rate)
  list(GET fields 2 months)
  list(GET fields 3 name)
  execute_process(COMMAND ${TOOL} --report ${principal} ${rate} ${months}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines lines)
  if(NOT rc EQUAL 2 OR NOT err MATCHES "^loan-analyzer: ${name} must be between" OR
      NOT lines EQUAL 1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "${principal} ${rate} ${months} was not refused in one line: "
      "${rc} [${err}] [${out}]")
  endif()
endforeach()
# The limits themselves are accepted: whole years up to 1200 as well as 1200 months.
foreach(case "50000000|100|1200" "0|0|0" "100000|6|14400")
  string(REPLACE "|" ";" args "${case}")
  execute_process(COMMAND ${TOOL} --report ${args} RESULT_VARIABLE rc OUTPUT_QUIET
    ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${case} was refused: ${rc} ${err}")
  endif()
endforeach()
