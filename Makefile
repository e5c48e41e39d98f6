# The two commands a new user types: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean install package package-test

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

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
	@cd $(BUILD) && N27_PACKAGE_TEST=1 ctest --output-on-failure -R '^Package\.' --timeout 300

bench: build
	@$(BUILD)/program/n27-bench

clean:
	rm -rf $(BUILD)
