BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build windows run test screenshots bench clean

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

windows: configure
	@cmake --build $(BUILD) -j $(JOBS) --target windows

run: build
	@scripts/run-example $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@cmake --build $(BUILD) --target screenshots

bench: build
	@bench/build-throughput
	@stat -c '%n: %s bytes' $(BUILD)/windows-*/setupstub/setupstub.exe

clean:
	rm -rf $(BUILD)
