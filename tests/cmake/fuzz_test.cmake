# Runs the fuzz program over a copy of the corpus kept in the tree, with a fixed seed and a
# bounded count, so that a run is repeatable; what it finds (a crashing input) is left in
# WORK, beside the copy, and the run fails. Writes a JUnit report.
#   cmake -DFUZZER=<program> -DCORPUS=<tests/fuzz/corpus> -DWORK=<folder> -DRUNS=<n>
#         -DREPORT=<file.xml> -P fuzz_test.cmake
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/junit.cmake)

file(REMOVE_RECURSE ${WORK}/corpus)
file(MAKE_DIRECTORY ${WORK})
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(COMMAND ${FUZZER} -seed=1 -runs=${RUNS} -max_len=4096 -artifact_prefix=${WORK}/ ${WORK}/corpus
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(failure "")
if(NOT result EQUAL 0)
  string(REGEX MATCH "property broken: [^\n]*|ERROR: [^\n]*" first "${output}")
  set(failure "the fuzz program failed (${result}): ${first}; inputs in ${WORK}")
  message("${output}")
endif()
qvn_write_junit(${REPORT} UntrustedFuzz PropertiesHoldForEveryInput failure)
if(failure)
  message(FATAL_ERROR "${failure}")
endif()
