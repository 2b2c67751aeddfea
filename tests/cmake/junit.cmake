# Writes a JUnit report of one suite for scripts/test to count: each case a name, and the
# name of the variable that holds its failure text (empty when it passed; the text itself
# may be empty or hold semicolons, which arguments would lose).
#   qvn_write_junit(<file.xml> <suite> <case> <variable> [<case> <variable> ...])
function(qvn_write_junit report suite)
  set(cases "")
  set(failed 0)
  set(count 0)
  set(arguments ${ARGN})
  list(LENGTH arguments length)
  math(EXPR last "${length} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET arguments ${i} name)
    list(GET arguments ${j} variable)
    set(failure "${${variable}}")
    math(EXPR count "${count} + 1")
    set(detail "")
    if(NOT failure STREQUAL "")
      math(EXPR failed "${failed} + 1")
      string(REPLACE "&" "&amp;" text "${failure}")
      string(REPLACE "<" "&lt;" text "${text}")
      string(REPLACE "\"" "&quot;" text "${text}")
      set(detail "<failure message=\"${text}\"/>")
    endif()
    string(APPEND cases "    <testcase name=\"${name}\" classname=\"${suite}\">${detail}</testcase>\n")
  endforeach()
  file(WRITE ${report}
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<testsuites tests=\"${count}\" failures=\"${failed}\" errors=\"0\" name=\"${suite}\">\n"
    "  <testsuite name=\"${suite}\" tests=\"${count}\" failures=\"${failed}\" errors=\"0\">\n"
    "${cases}  </testsuite>\n</testsuites>\n")
endfunction()
