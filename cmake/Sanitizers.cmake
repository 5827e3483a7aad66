# QUELLOR_SANITIZE builds the whole tree (libraries, tools, tests) with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report ends the process, so a test that trips one fails.
option(QUELLOR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(QUELLOR_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The sanitizer build is made with clang (CXX=clang++)")
  endif()
  set(QUELLOR_SANITIZER_FLAGS
      -fsanitize=address,undefined
      -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${QUELLOR_SANITIZER_FLAGS})
  add_link_options(${QUELLOR_SANITIZER_FLAGS})
endif()
