# Configuring stops on hosts the program cannot carry, naming the variable, and accepts the
# ones it can. Runs the check as configuring does, once per row, and writes a JUnit report.
#   cmake -DCHECK=<cmake/CheckHosts.cmake> -DREPORT=<file.xml> -P check_hosts_test.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/junit.cmake)

# expected outcome (empty: accepted; else the variable the message names) | ServiceHost |
# PortalDomain | PortalHost
set(rows
  "|bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "|127.0.0.1:8123|g2b.go.kr|g2b.go.kr"
  "ServiceHost|bid\"service.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|bid\\service.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|bidservice.example/x|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|bidservice.example?x|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|user@bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|bidservice.example:|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost||g2b.go.kr|www.g2b.go.kr"
  "PortalDomain|bidservice.example|g2b.go.kr:80|www.g2b.go.kr"
  "PortalHost|bidservice.example|g2b.go.kr|www.g2b.go.kr/x"
  "PortalHost|bidservice.example|g2b.go.kr|www.other.kr"
  "PortalHost|bidservice.example|g2b.go.kr|go.kr"
)

set(failures "")
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 expected)
  list(GET fields 1 service)
  list(GET fields 2 domain)
  list(GET fields 3 host)
  execute_process(COMMAND ${CMAKE_COMMAND} "-DServiceHost=${service}" "-DPortalDomain=${domain}"
                          "-DPortalHost=${host}" -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  if(expected STREQUAL "")
    if(NOT result EQUAL 0)
      string(APPEND failures "refused ${row}: ${error}\n")
    endif()
  else()
    string(FIND "${error}" "${expected} \"" named)
    if(result EQUAL 0 OR named EQUAL -1)
      string(APPEND failures "not refused naming ${expected}: ${row}: ${error}\n")
    endif()
  endif()
endforeach()

qvn_write_junit(${REPORT} CheckHosts HostsAreCheckedWhenConfiguring failures)
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
