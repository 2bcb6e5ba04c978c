# Short commands for the usual jobs. Every target that builds installs what it
# needs first (scripts/setup), so a fresh Debian machine needs nothing by hand.
JOBS ?= $(shell nproc)

.PHONY: setup build build-asan build-tsan test-tsan win32 win64 web serve-web run test test-native test-asan test-win32 test-win64 test-web test-library test-package package docs render bench fuzz clean

setup:
	@scripts/setup

build: setup
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux -j $(JOBS)

build-asan: setup
	@cmake --preset linux-asan >/dev/null
	@cmake --build --preset linux-asan -j $(JOBS)

# Only what the ThreadSanitizer run needs: the renderer, its tests and the tool.
build-tsan: setup
	@cmake --preset linux-tsan >/dev/null
	@cmake --build --preset linux-tsan -j $(JOBS)

win32: setup
	@scripts/configure-cross win32
	@cmake --build --preset win32 -j $(JOBS)

win64: setup
	@scripts/configure-cross win64
	@cmake --build --preset win64 -j $(JOBS)

# The browser build: build/web/ with index.html, duskhall.js, duskhall.wasm and the
# bundled textures (duskhall.data).
web: setup
	@cmake --preset web >/dev/null
	@cmake --build --preset web -j $(JOBS)

# Serves build/web/ on 127.0.0.1 (WEB_PORT, default 8080) and prints the address.
WEB_PORT ?= 8080
serve-web: web
	@scripts/serve-web --root build/web --port $(WEB_PORT)

run: build
	@scripts/run-demo

render: build
	@scripts/render-frames

bench: build
	@scripts/run-benchmarks

fuzz: setup
	@scripts/fuzz-loader
	@scripts/fuzz-window
	@scripts/fuzz-level
	@scripts/fuzz-wad

test-native: build
	@ctest --preset linux -j $(JOBS)

test-asan: build-asan
	@echo "test-asan: the slow suites (label slow) are neither built nor run under the sanitizers; test-native runs them"
	@ctest --preset linux-asan -j $(JOBS) -LE slow

test-tsan: build-tsan
	@ctest --preset linux-tsan -j $(JOBS)

# Each builds its own programs; test-win32 builds and then skips its run (status 77,
# fine here) where this machine cannot run 32-bit programs (DUSKHALL_RUN_32BIT=yes|no
# forces the answer).
test-win32: setup
	@scripts/test-windows win32 || [ $$? = 77 ]

test-win64: setup
	@scripts/test-windows win64

# Skips (status 77, fine here) when DUSKHALL_NO_WEB=1.
test-web: setup
	@scripts/test-web || [ $$? = 77 ]

# The library installed and used from outside: examples built against the install
# tree with find_package and with pkg-config, and run under Xvfb.
test-library: setup
	@scripts/test-library

# The API reference of the public headers, from Doxygen: build/docs/api/index.html.
# Fails, naming each header and line, while a public name is undocumented.
docs: setup
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux --target docs

# The three Debian packages (build/deb/packages/) and the Windows .zip (build/package/).
package: setup
	@scripts/package

# Builds the packages and checks what is in them.
test-package: setup
	@scripts/test-package

test: setup
	@scripts/test-all

clean:
	rm -rf build
