# Warnings and platform definitions shared by every target of the tree.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0601)
  # Nothing but system DLLs and our own stand-ins may be needed beside a program.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(NOT WIN32)
  # The runtime is loaded by bare name from beside the program, as Windows does. An old-style
  # RPATH of the executable applies to every dlopen in the process, also to the ones the
  # sanitizers intercept; the newer RUNPATH would apply only to the interceptor's own.
  add_link_options(-Wl,--disable-new-dtags)
endif()

if(QVN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every tree runs its tests: the 32-bit ones in the guest system (scripts/guest).
set(QVN_RUNS_TESTS ON)
