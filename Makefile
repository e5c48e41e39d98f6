# The two commands a new user types: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench soak clean

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

bench: build
	@$(BUILD)/program/n27-bench

# 200 write/read cycles against the simulated radio with random faults on the line.
soak: build
	@$(BUILD)/program/n27-bench soak --cycles 200

clean:
	rm -rf $(BUILD)
