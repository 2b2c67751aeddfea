# qvn_unity_batches(TARGET SIZE): compiles TARGET's C++ sources SIZE at a time, as CMake's
# unity builds do, from batch files that name the sources by paths relative to themselves.
# CMake's own batch files name them by absolute paths, so that the compiler cache, which
# scripts/test keeps across clones, found nothing of another clone's build of them. Call it
# once the target has all its sources; sources in other languages compile on their own.
function(qvn_unity_batches target size)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}.batches)
  set(content "")
  set(in_batch 0)
  set(index 0)
  set(batched "")
  set(batch_files "")
  list(LENGTH sources remaining)
  foreach(source IN LISTS sources)
    math(EXPR remaining "${remaining} - 1")
    if(source MATCHES "\\.cpp$")
      get_filename_component(path ${source} ABSOLUTE BASE_DIR ${source_dir})
      file(RELATIVE_PATH relative ${folder} ${path})
      string(APPEND content "#include \"${relative}\"\n")
      list(APPEND batched ${path})
      math(EXPR in_batch "${in_batch} + 1")
    endif()
    if(in_batch GREATER 0 AND (in_batch EQUAL size OR remaining EQUAL 0))
      # Written only when it changes, so that configuring again compiles nothing again.
      file(CONFIGURE OUTPUT ${folder}/batch_${index}.cpp CONTENT "${content}" @ONLY)
      list(APPEND batch_files ${folder}/batch_${index}.cpp)
      math(EXPR index "${index} + 1")
      set(content "")
      set(in_batch 0)
    endif()
  endforeach()
  # The sources stay in the target, for the tools that list them, but only the batches compile.
  set_source_files_properties(${batched} PROPERTIES HEADER_FILE_ONLY ON)
  target_sources(${target} PRIVATE ${batch_files})
endfunction()
