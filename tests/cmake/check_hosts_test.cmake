# Configuring stops on hosts the program cannot carry, naming the variable, and accepts the
# ones it can. Runs the check as configuring does, once per row, and writes a JUnit report.
#   cmake -DCHECK=<cmake/CheckHosts.cmake> -DREPORT=<file.xml> -P check_hosts_test.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/junit.cmake)

# expected outcome (empty: accepted; else the variable the message names) | ServiceScheme |
# ServiceHost | PortalDomain | PortalHost
set(rows
  "|http|bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "|http|127.0.0.1:8123|g2b.go.kr|g2b.go.kr"
  "|https|bid-service.example:80|g2b.go.kr|www.g2b.go.kr"
  "|http|x1.example:65535|g2b.go.kr|www.g2b.go.kr"
  "ServiceScheme|ftp|bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceScheme|HTTP|bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bid\"service.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bid\\service.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example/x|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example?x|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|user@bidservice.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http||g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|..|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|-|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bid.-service.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|BidService.example|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:99999999|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:65536|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:0|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:08080|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|bidservice.example:80|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|https|bidservice.example:443|g2b.go.kr|www.g2b.go.kr"
  "ServiceHost|http|aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.example|g2b.go.kr|www.g2b.go.kr"
  "PortalDomain|http|bidservice.example|g2b.go.kr:80|www.g2b.go.kr"
  "PortalDomain|http|bidservice.example|G2B.go.kr|www.g2b.go.kr"
  "PortalHost|http|bidservice.example|g2b.go.kr|www.g2b.go.kr/x"
  "PortalHost|http|bidservice.example|g2b.go.kr|www.other.kr"
  "PortalHost|http|bidservice.example|g2b.go.kr|go.kr"
  "PortalHost|http|bidservice.example|g2b.go.kr|notg2b.go.kr"
)

set(failures "")
foreach(row IN LISTS rows)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 expected)
  list(GET fields 1 scheme)
  list(GET fields 2 service)
  list(GET fields 3 domain)
  list(GET fields 4 host)
  execute_process(COMMAND ${CMAKE_COMMAND} "-DServiceScheme=${scheme}" "-DServiceHost=${service}" "-DPortalDomain=${domain}"
                          "-DPortalHost=${host}" -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  # CMake wraps long messages; the name and its value may land on two lines.
  string(REGEX REPLACE "[ \n]+" " " error "${error}")
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
