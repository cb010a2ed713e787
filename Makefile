# Quick start: `make run` draws the bundled bench, `make test` runs every test.
.PHONY: run build test asan clean

build:
	cmake --preset release
	cmake --build --preset release -j

# Only the program: the first picture comes without waiting for the test suite to build.
run:
	cmake --preset release
	cmake --build --preset release -j --target optic
	./build/release/optic

test: build
	ctest --preset release

asan:
	cmake --preset asan
	cmake --build --preset asan -j
	ctest --preset asan

clean:
	rm -rf build
