# The two commands of the README: `make demo` and `make test`. Both set up the machine first.
BUILD     := build
SANITIZE  := build/sanitize
RELEASE   := build/release
PACKAGE   := build/package
FUZZ      := build/fuzz
FUZZ_SECONDS ?= 60
JOBS      ?= $(shell nproc)

.PHONY: all setup build demo test test-normal test-sanitize bench fuzz package clean

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

# The scale table (scripts/bench.sh) from a release build; never part of `make test`.
bench: setup
	@scripts/configure.sh $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	@cmake --build $(RELEASE) -j $(JOBS) --target benchmarks
	@scripts/bench.sh $(RELEASE)

# Explores with every fuzz target for FUZZ_SECONDS each (clang, instrumented, sanitized); fails
# on any finding. `make test` only replays the targets' corpora and regression inputs.
fuzz: setup
	@CC=clang CXX=clang++ scripts/configure.sh $(FUZZ) \
	    -DQUELLOR_SANITIZE=ON -DQUELLOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@cmake --build $(FUZZ) -j $(JOBS) --target fuzz_targets
	@fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS)

# A Debian package of what `cmake --install` installs (CPack), from a release build without the
# tests: build/package/quellor_<version>_<arch>.deb. Never part of `make test`.
package: setup
	@scripts/configure.sh $(PACKAGE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	    -DCMAKE_INSTALL_PREFIX=/usr
	@cmake --build $(PACKAGE) -j $(JOBS)
	@cd $(PACKAGE) && cpack
	@ls $(PACKAGE)/*.deb

clean:
	rm -rf $(BUILD)
