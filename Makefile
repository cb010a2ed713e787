# Quick start: `make run` draws the bundled bench, `make test` runs every test.
.PHONY: run build test asan web clean

# As many compile jobs as processors.
JOBS ?= $(shell nproc)

# The program and its tests, in release.
build:
	cmake --preset release -DOPTIC_BUILD_TESTS=ON
	cmake --build --preset release -j$(JOBS)

# Only the program, configured without the tests: the first picture needs nothing the tests
# use and comes without waiting for them to build.
run:
	cmake --preset release -DOPTIC_BUILD_TESTS=OFF
	cmake --build --preset release -j$(JOBS) --target optic
	./build/release/optic

# Installs what the tests lack (scripts/prerequisites.sh), then runs every test, the browser
# tests included.
test:
	scripts/prerequisites.sh
	$(MAKE) --no-print-directory build
	ctest --preset release
	tests/web/run.sh

asan:
	scripts/prerequisites.sh
	cmake --preset asan
	cmake --build --preset asan -j$(JOBS)
	ctest --preset asan

# The static site in build/web: the page and the engine in WebAssembly (needs emscripten).
# Its JavaScript optimiser finds Debian's acorn through NODE_PATH.
web:
	NODE_PATH=/usr/share/nodejs cmake --preset web
	NODE_PATH=/usr/share/nodejs cmake --build --preset web -j$(JOBS)

clean:
	rm -rf build
