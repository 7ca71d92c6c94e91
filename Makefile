# The two commands a new user needs are `make run` and `make test`; both
# install what is missing first: `make run` and `make build` only what building
# and running the game needs (scripts/install-deps build), every other target
# also what testing, fuzzing and packaging add (scripts/install-deps all).

CMAKE ?= cmake
CTEST ?= ctest

.PHONY: all deps deps-build with-tests build run test bench package asan tsan clean format format-check pot language

all: build

deps:
	@scripts/install-deps all

deps-build:
	@scripts/install-deps build

# configure once per preset; later builds let CMake reconfigure by itself
build/%/CMakeCache.txt:
	$(CMAKE) --preset $*

# The release build has its tests and benchmarks only where their packages
# are installed; a player's set-up builds without them.
build/release/CMakeCache.txt:
	$(CMAKE) --preset release $$(scripts/install-deps --check all \
		|| echo -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF)

# Turns the tests and benchmarks of the release build on, where a player's
# set-up left them off.
with-tests: deps build/release/CMakeCache.txt
	@grep -q '^KX_BUILD_TESTS:BOOL=ON' build/release/CMakeCache.txt \
		&& grep -q '^KX_BUILD_BENCH:BOOL=ON' build/release/CMakeCache.txt \
		|| $(CMAKE) --preset release -DKX_BUILD_TESTS=ON -DKX_BUILD_BENCH=ON

build: deps-build build/release/CMakeCache.txt
	$(CMAKE) --build --preset release

# Builds only the game and what makes it (the resource compiler), not the
# tests, benchmarks and other tools, and starts it in this folder, beside bmp/.
run: deps-build build/release/CMakeCache.txt
	$(CMAKE) --build --preset release --target kalvex
	exec build/release/kalvex

test: with-tests
	$(CMAKE) --build --preset release
	$(CTEST) --preset release

bench: with-tests
	$(CMAKE) --build --preset release
	@for b in build/release/bench/*/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The Debian package, in build/release/package/; install it with
# `apt install ./build/release/package/kalvex_*.deb`. Any lintian error or
# warning fails the target; informational tags are shown too.
package: deps build/release/CMakeCache.txt
	$(CMAKE) --build --preset release
	$(CMAKE) --build --preset release --target package
	lintian --display-info --fail-on error,warning build/release/package/kalvex_*.deb

asan: deps build/asan/CMakeCache.txt
	$(CMAKE) --build --preset asan
	$(CTEST) --preset asan

tsan: deps build/tsan/CMakeCache.txt
	$(CMAKE) --build --preset tsan
	$(CTEST) --preset tsan

# The translations (po/). `make pot` collects the texts anew from the sources
# into po/kalvex.pot and brings every catalogue up to date with them.
pot: deps build/release/CMakeCache.txt
	$(CMAKE) --build --preset release --target kalvex-pot

# `make language L=sv` starts the catalogue of a new language, po/sv.po (a
# country's variant as pt_BR), with every text still to translate; the next
# build compiles and installs it.
language: deps
	@[ -n "$(L)" ] || { echo "language: name the language, as in make language L=sv" >&2; exit 1; }
	@[ ! -e po/$(L).po ] || { echo "language: po/$(L).po exists already; translate the texts there" >&2; exit 1; }
	msginit --no-translator --locale=$(L) --input=po/kalvex.pot --output-file=po/$(L).po
	sed -i 's/charset=ASCII/charset=UTF-8/' po/$(L).po

# The house style is .clang-format at the root; every C++ file follows it.
CXX_FILES = $$(git ls-files '*.h' '*.cpp')

format: deps
	clang-format -i $(CXX_FILES)

format-check: deps
	@clang-format --dry-run --Werror $(CXX_FILES) \
		|| { echo "format-check: run 'make format' to lay these files out in the house style" >&2; exit 1; }

clean:
	rm -rf build

# The fuzzers: clang with libFuzzer and the address and undefined behaviour
# sanitizers, in a build folder of its own. Each runs FUZZ_SECONDS: the image
# fuzzer starts from the game's own pictures, the resource fuzzer from the
# game's resource block (bare and as a resource file); what they find is
# kept under build/fuzz/corpus and build/fuzz/corpus-resources.
FUZZ_SECONDS ?= 30
FUZZ_DIR = build/fuzz
FUZZ_FLAGS = -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
FUZZ_RUN = -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=3072 \
	-print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/crashes/

.PHONY: fuzz
fuzz: deps
	@[ -f $(FUZZ_DIR)/CMakeCache.txt ] || $(CMAKE) -S . -B $(FUZZ_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DKX_BUILD_FUZZ=ON -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF \
		"-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)" "-DCMAKE_C_FLAGS=$(FUZZ_FLAGS)" \
		"-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
	$(CMAKE) --build $(FUZZ_DIR) --target fuzz_image fuzz_resources kx-rescomp
	rm -rf $(FUZZ_DIR)/seed $(FUZZ_DIR)/seed-resources
	mkdir -p $(FUZZ_DIR)/seed $(FUZZ_DIR)/corpus $(FUZZ_DIR)/crashes \
		$(FUZZ_DIR)/seed-resources $(FUZZ_DIR)/corpus-resources
	cp bmp/* $(FUZZ_DIR)/seed/
	$(FUZZ_DIR)/tools/rescomp/kx-rescomp resources/Kalvex.rdef \
		--output $(FUZZ_DIR)/seed-resources/kalvex.rsrc
	tail -c +5 $(FUZZ_DIR)/seed-resources/kalvex.rsrc >$(FUZZ_DIR)/seed-resources/kalvex.block
	LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan-suppressions.txt \
		$(FUZZ_DIR)/fuzz/fuzz_image $(FUZZ_RUN) $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seed
	@echo "fuzz: image corpus of $$(ls $(FUZZ_DIR)/corpus | wc -l) inputs in $(FUZZ_DIR)/corpus"
	$(FUZZ_DIR)/fuzz/fuzz_resources $(FUZZ_RUN) \
		$(FUZZ_DIR)/corpus-resources $(FUZZ_DIR)/seed-resources
	@echo "fuzz: resource corpus of $$(ls $(FUZZ_DIR)/corpus-resources | wc -l) inputs in $(FUZZ_DIR)/corpus-resources"
