# The two commands of the README: `make demo` and `make test`. Both set up the machine first.
BUILD     := build
SANITIZE  := build/sanitize
JOBS      ?= $(shell nproc)

.PHONY: all setup build demo test test-normal test-sanitize clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@scripts/configure.sh $(BUILD)
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@scripts/demo.sh $(BUILD)

# Every test, first in the normal (g++) build, then in the sanitizer (clang) build.
test: test-normal test-sanitize

test-normal: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: setup
	@CC=clang CXX=clang++ scripts/configure.sh $(SANITIZE) \
	    -DQUELLOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	@cmake --build $(SANITIZE) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
