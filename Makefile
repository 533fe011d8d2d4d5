BUILD ?= build
JOBS ?= $(shell nproc)
# The instrumented build: ASan+UBSan, clang, no Qt, with the fuzz targets; the
# Windows images come from the main build only.
ASAN_BUILD ?= build-asan
# Seconds each fuzz target runs in `make test` and in `make fuzz`.
FUZZ_SECONDS ?= 15
FUZZ_LONG_SECONDS ?= 600
# The folders clang-tidy checks.
TIDY_FOLDERS ?= model package platform setupstub velklink selfkit cli app ui bench examples
# The folders whose sources follow .clang-format.
FORMAT_FOLDERS ?= $(TIDY_FOLDERS) tests

.PHONY: all deps configure build windows run test screenshots bench package clean tidy asan-configure test-asan fuzz format format-check

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

windows: configure
	@cmake --build $(BUILD) -j $(JOBS) --target windows

run: build
	@scripts/run-example $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory format-check
	@$(MAKE) --no-print-directory tidy
	@$(MAKE) --no-print-directory test-asan

# clang-tidy's bugprone checks (.clang-tidy) over the sources; any finding fails.
tidy: configure
	@cmake/clang-tidy-sources.py $(BUILD) . $(JOBS) $(TIDY_FOLDERS)

# Rewrites the sources as .clang-format wants them.
format: deps
	@cmake/format-sources.py --fix . $(JOBS) $(FORMAT_FOLDERS)

# Names every source file that differs from .clang-format; any fails.
format-check: deps
	@cmake/format-sources.py --check . $(JOBS) $(FORMAT_FOLDERS)

# Configured once: later runs only build what changed.
asan-configure: deps
	@test -f $(ASAN_BUILD)/CMakeCache.txt || cmake -S . -B $(ASAN_BUILD) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
		-DCMAKE_CXX_COMPILER=clang++-14 -DVELKORA_BUILD_GUI=OFF -DVELKORA_FUZZ=ON \
		-DVELKORA_TSAN_TESTS=OFF -DVELKORA_BUILD_WINDOWS=OFF >/dev/null

# The whole suite without Qt under ASan+UBSan, the fuzz targets for a short while.
test-asan: asan-configure
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && VELKORA_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure -j $(JOBS) -LE load

fuzz: asan-configure
	@cmake --build $(ASAN_BUILD) --target fuzz_targets -j $(JOBS)
	@cd $(ASAN_BUILD) && VELKORA_FUZZ_SECONDS=$(FUZZ_LONG_SECONDS) ctest --output-on-failure -j $(JOBS) -L fuzz

screenshots: build
	@cmake --build $(BUILD) --target screenshots

bench: build
	@bench/run-bench --build-dir $(BUILD)
	@stat -c '%n: %s bytes' $(BUILD)/windows-*/setupstub/setupstub.exe
	@stat -c '%n: %s bytes' $(BUILD)/windows-*/selfkit/win32/selfkit.exe

# The Debian packages velkora, velkora-cli, libvelklink1 and libvelklink-dev,
# and the MSI packages velkora-x86_64.msi and velkora-i686.msi, in $(BUILD)/.
package: build
	@cd $(BUILD) && cpack -G DEB
	@cmake --build $(BUILD) --target velkora_msi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
