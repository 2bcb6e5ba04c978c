# Short commands for the usual jobs. Every target that builds installs what it
# needs first (scripts/setup), so a fresh Debian machine needs nothing by hand.
JOBS ?= $(shell nproc)

.PHONY: setup build build-asan win32 run test test-native test-asan test-win32 test-library test-package package render bench fuzz clean

setup:
	@scripts/setup

build: setup
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux -j $(JOBS)

build-asan: setup
	@cmake --preset linux-asan >/dev/null
	@cmake --build --preset linux-asan -j $(JOBS)

win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)

run: build
	@scripts/run-demo

render: build
	@scripts/render-frames

bench: build
	@scripts/run-benchmarks

fuzz: setup
	@scripts/fuzz-loader

test-native: build
	@ctest --preset linux -j $(JOBS)

test-asan: build-asan
	@ctest --preset linux-asan -j $(JOBS) -LE slow

test-win32: win32
	@scripts/test-win32

test-library: setup
	@scripts/test-library

package: setup
	@scripts/package

test-test-library: setup
	@scripts/test-library

package: setup
	@scripts/test-package

test: setup
	@scripts/test-all

clean:
	rm -rf build
