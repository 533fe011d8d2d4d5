BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test screenshots bench package clean

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-example $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@cmake --build $(BUILD) --target screenshots

bench: build
	@bench/build-throughput

# The Debian packages velkora, libvelklink1 and libvelklink-dev in $(BUILD)/.
package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
