# Quick start: `make run` draws the bundled bench, `make test` runs every test.
.PHONY: run build test asan clean

build:
	cmake --preset release
	cmake --build --preset release -j

run: build
	./build/release/optic

test: build
	ctest --preset release

asan:
	cmake --preset asan
	cmake --build --preset asan -j
	ctest --preset asan

clean:
	rm -rf build
