# The hosts built into the program go into a C++ literal, the window's layout and every
# address the program builds or compares, so configuring stops at once on a value that
# would break the build or make those disagree. Included by the shell's CMakeLists; with
# `cmake -DServiceHost=... -DPortalDomain=... -DPortalHost=... -P CheckHosts.cmake` it
# checks the values given.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
endif()

function(qvn_check_hosts service_host portal_domain portal_host)
  # Letters, digits, dots and hyphens; the service host alone may add a port.
  set(name "[A-Za-z0-9.-]+")
  set(rule "may hold only letters, digits, dots and hyphens")
  if(NOT service_host MATCHES "^${name}(:[0-9]+)?$")
    message(FATAL_ERROR "ServiceHost \"${service_host}\" is not a host name: it ${rule}, then optionally :port")
  endif()
  if(NOT portal_domain MATCHES "^${name}$")
    message(FATAL_ERROR "PortalDomain \"${portal_domain}\" is not a host name: it ${rule}")
  endif()
  if(NOT portal_host MATCHES "^${name}$")
    message(FATAL_ERROR "PortalHost \"${portal_host}\" is not a host name: it ${rule}")
  endif()
  # A portal window is found again by the domain in its address, which the program makes
  # with the portal host.
  string(LENGTH "${portal_host}" host_length)
  string(LENGTH "${portal_domain}" domain_length)
  set(tail "")
  if(host_length GREATER_EQUAL domain_length)
    math(EXPR start "${host_length} - ${domain_length}")
    string(SUBSTRING "${portal_host}" ${start} ${domain_length} tail)
  endif()
  if(NOT tail STREQUAL portal_domain)
    message(FATAL_ERROR "PortalHost \"${portal_host}\" does not end with PortalDomain \"${portal_domain}\"")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  qvn_check_hosts("${ServiceHost}" "${PortalDomain}" "${PortalHost}")
endif()
