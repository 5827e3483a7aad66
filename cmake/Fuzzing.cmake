# QUELLOR_FUZZ instruments the whole tree for libFuzzer's coverage-guided search (the fuzz
# build, build/fuzz, made by `make fuzz`). It goes with QUELLOR_SANITIZE, whose address and
# undefined-behaviour checks turn a fault into a finding.
#
# The fuzz targets (fuzz/) are built in every clang sanitizer build: there they are linked
# with libFuzzer's main and registered as CTest tests that replay their seed corpus and their
# regression inputs once, so `make test` checks every past finding deterministically.
option(QUELLOR_FUZZ "Instrument the tree for libFuzzer (the fuzz build)" OFF)

if(QUELLOR_FUZZ)
  if(NOT QUELLOR_SANITIZE)
    message(FATAL_ERROR "The fuzz build is a sanitizer build (-DQUELLOR_SANITIZE=ON)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
