BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test screenshots bench clean

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-example $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@cmake --build $(BUILD) --target screenshots

bench: build
	@bench/run-bench --build-dir $(BUILD)

clean:
	rm -rf $(BUILD)
