# The scheme and hosts built into the program go into a C++ literal, the window's layout and
# every address the program builds or compares, so configuring stops at once on a value that
# would break the build or make those disagree. Included by the shell's CMakeLists; with
# `cmake -DServiceScheme=... -DServiceHost=... -DPortalDomain=... -DPortalHost=... -P
# CheckHosts.cmake` it checks the values given (ServiceScheme defaults to http).

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
endif()

# Whether name is a host name as the runtime reports it: labels of 1 to 63 lower-case ASCII
# letters, digits and hyphens, none starting or ending with a hyphen. Windows are found again
# by a case-sensitive match, so upper case would never match what the runtime reports.
function(qvn_is_host_name name result)
  set(label "[a-z0-9]([a-z0-9-]*[a-z0-9])?")
  set(ok FALSE)
  if(name MATCHES "^${label}(\\.${label})*$")
    set(ok TRUE)
    string(REPLACE "." ";" labels "${name}")
    foreach(piece IN LISTS labels)
      string(LENGTH "${piece}" length)
      if(length GREATER 63)
        set(ok FALSE)
      endif()
    endforeach()
  endif()
  set(${result} ${ok} PARENT_SCOPE)
endfunction()

function(qvn_check_hosts service_scheme service_host portal_domain portal_host)
  set(rule "must be labels of 1 to 63 lower-case letters, digits and hyphens (no hyphen first or last) joined by dots")
  if(service_scheme STREQUAL "http")
    set(default_port 80)
  elseif(service_scheme STREQUAL "https")
    set(default_port 443)
  else()
    message(FATAL_ERROR "ServiceScheme \"${service_scheme}\" is neither http nor https")
  endif()
  # The runtime drops a scheme's default port from the addresses it reports: with it the
  # origin check would refuse every service page.
  set(host "${service_host}")
  if(service_host MATCHES "^([^:]*):(.*)$")
    set(host "${CMAKE_MATCH_1}")
    set(port "${CMAKE_MATCH_2}")
    if(NOT port MATCHES "^[1-9][0-9]?[0-9]?[0-9]?[0-9]?$" OR port GREATER 65535)
      message(FATAL_ERROR "ServiceHost \"${service_host}\" has no port of 1 to 65535 (without leading zeros) after its colon")
    endif()
    if(port EQUAL default_port)
      message(FATAL_ERROR "ServiceHost \"${service_host}\" names ${service_scheme}'s default port: leave it out")
    endif()
  endif()
  qvn_is_host_name("${host}" ok)
  if(NOT ok)
    message(FATAL_ERROR "ServiceHost \"${service_host}\" is not a host name: it ${rule}, then optionally :port")
  endif()
  qvn_is_host_name("${portal_domain}" ok)
  if(NOT ok)
    message(FATAL_ERROR "PortalDomain \"${portal_domain}\" is not a host name: it ${rule}")
  endif()
  qvn_is_host_name("${portal_host}" ok)
  if(NOT ok)
    message(FATAL_ERROR "PortalHost \"${portal_host}\" is not a host name: it ${rule}")
  endif()
  # A portal window is found again by the domain in its address, which the program makes
  # with the portal host: the host is the domain or lies inside it.
  string(LENGTH "${portal_host}" host_length)
  string(LENGTH ".${portal_domain}" domain_length)
  set(tail "")
  if(host_length GREATER_EQUAL domain_length)
    math(EXPR start "${host_length} - ${domain_length}")
    string(SUBSTRING "${portal_host}" ${start} ${domain_length} tail)
  endif()
  if(NOT portal_host STREQUAL portal_domain AND NOT tail STREQUAL ".${portal_domain}")
    message(FATAL_ERROR "PortalHost \"${portal_host}\" is neither PortalDomain \"${portal_domain}\" nor a host inside it")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT DEFINED ServiceScheme)
    set(ServiceScheme http)
  endif()
  qvn_check_hosts("${ServiceScheme}" "${ServiceHost}" "${PortalDomain}" "${PortalHost}")
endif()
