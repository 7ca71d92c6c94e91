# The two commands a new user needs are `make run` and `make test`; both
# install what is missing first.

CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps build run test bench package asan tsan clean

all: build

deps:
	@scripts/install-deps

# configure once per preset; later builds let CMake reconfigure by itself
build/%/CMakeCache.txt:
	$(CMAKE) --preset $*

build: deps build/release/CMakeCache.txt
	$(CMAKE) --build --preset release

run: build
	@if [ -x build/release/kalvex ]; then \
		exec build/release/kalvex; \
	else \
		echo "make run: the game is not built yet (build/release/kalvex is missing)" >&2; \
		exit 1; \
	fi

test: build
	$(CTEST) --preset release

bench: build
	@for b in build/release/bench/*/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The Debian package, in build/release/package/; install it with
# `apt install ./build/release/package/kalvex_*.deb`.
package: build
	$(CMAKE) --build --preset release --target package

asan: deps build/asan/CMakeCache.txt
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

tsan: deps build/tsan/CMakeCache.txt
	$(CMAKE) --build --preset tsan
	$(CTEST) --preset tsan

clean:
	rm -rf build
