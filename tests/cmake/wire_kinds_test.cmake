# Each wrapper takes and gives only its own runtime structure: the right calls compile, and
# a call that pairs another interface's structure is refused by the compiler, with the error
# that says so (not any error: a missing header must not pass). Writes a JUnit report.
#   cmake -DCXX=<compiler> -DINCLUDES=<dir|dir|...> -DSOURCE=<wire_kinds_check.cpp>
#         -DREPORT=<file.xml> -P wire_kinds_test.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/junit.cmake)

string(REPLACE "|" ";" directories "${INCLUDES}")
set(flags -fsyntax-only -std=c++20)
foreach(directory IN LISTS directories)
  list(APPEND flags "-I${directory}")
endforeach()

# Compiles SOURCE with one more definition (none when empty); sets <out> to the failure
# text, empty when the compiler answered as expected: success, or the refusal `expected`.
function(check_compile out definition expected)
  set(extra "")
  if(definition)
    set(extra "-D${definition}")
  endif()
  execute_process(COMMAND ${CXX} ${flags} ${extra} ${SOURCE} RESULT_VARIABLE result ERROR_VARIABLE error
                  OUTPUT_QUIET)
  set(failure "")
  if(expected STREQUAL "")
    if(NOT result EQUAL 0)
      set(failure "the right calls do not compile: ${error}")
    endif()
  elseif(result EQUAL 0)
    set(failure "${definition} compiles")
  elseif(NOT error MATCHES "${expected}")
    set(failure "${definition} is refused for another reason: ${error}")
  endif()
  set(${out} "${failure}" PARENT_SCOPE)
endfunction()

check_compile(match "" "")
check_compile(unwrap WRONG_UNWRAP "error: cannot convert [^\n]*TCefBrowser\\*[^\n]* to [^\n]*TCefFrame\\*")
check_compile(wrap WRONG_WRAP "error: static assertion failed: an interface goes to the runtime as its own structure")
qvn_write_junit(${REPORT} WireKinds
  TheRightStructuresCompile match
  AnotherInterfacesStructureIsNotUnwrapped unwrap
  AnInterfaceGoesOutOnlyAsItsOwnStructure wrap)
if(match OR unwrap OR wrap)
  message(FATAL_ERROR "${match}${unwrap}${wrap}")
endif()
