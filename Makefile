# The two commands a new user types: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
# Release: -O2 without debug information (`make BUILD_TYPE=RelWithDebInfo` for a debugger).
BUILD_TYPE ?= Release
# Ninja for a new build folder (a folder made by an older make keeps its generator).
GENERATOR := $(if $(wildcard $(BUILD)/CMakeCache.txt),,$(if $(shell command -v ninja),-G Ninja))
# ccache: clones of the same tree share the cache (paths below the parent folder are taken
# relative), and the precompiled headers can be cached.
export CCACHE_BASEDIR ?= $(abspath $(CURDIR)/..)
export CCACHE_NOHASHDIR ?= 1
export CCACHE_SLOPPINESS ?= pch_defines,time_macros,include_file_mtime,include_file_ctime

.PHONY: deps configure build run test bench soak clean install package package-test fuzz test-sanitize

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# `make install` (PREFIX=/usr/local by default, DESTDIR honoured) and `make package` (a .deb
# in $(BUILD)/, see notes on installing).
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) $(if $(PREFIX),--prefix "$(PREFIX)")

package: build
	@cd $(BUILD) && cpack -G DEB

# Builds the package into a temporary folder and inspects it (too slow for every `make test`).
package-test: build
	@cd $(BUILD) && N27_PACKAGE_TEST=1 ctest --output-on-failure -R '^Package$$' --timeout 300

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target n27-bench
	@$(BUILD)/program/n27-bench

# 200 write/read cycles against the simulated radio with random faults on the line.
soak: build
	@cmake --build $(BUILD) -j $(JOBS) --target n27-bench
	@$(BUILD)/program/n27-bench soak --cycles 200

clean:
	rm -rf $(BUILD)

# Fuzzing and sanitizers, each in a build folder of its own (make test is not touched).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
SANITIZE_BUILD ?= build-sanitize

fuzz:
	@bash scripts/install-deps.sh --fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DN27_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ)

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DN27_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 900
