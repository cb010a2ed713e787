# Quick start: `make run` draws the bundled bench, `make test` runs every test.
.PHONY: run build test asan web clean

build:
	cmake --preset release
	cmake --build --preset release -j

# Only the program: the first picture comes without waiting for the test suite to build.
run:
	cmake --preset release
	cmake --build --preset release -j --target optic
	./build/release/optic

# The browser tests run when emscripten, chromium and the node modules are there.
test: build
	ctest --preset release
	tests/web/run.sh

asan:
	cmake --preset asan
	cmake --build --preset asan -j
	ctest --preset asan

# The static site in build/web: the page and the engine in WebAssembly (needs emscripten).
# Its JavaScript optimiser finds Debian's acorn through NODE_PATH.
web:
	NODE_PATH=/usr/share/nodejs cmake --preset web
	NODE_PATH=/usr/share/nodejs cmake --build --preset web -j2

clean:
	rm -rf build
