# Vesk: `make play` builds and starts the game, `make test` builds and runs
# every test (a normal and a sanitizer build, and a replay of the fuzz
# targets), `make fuzz` fuzzes. All install what is missing: playing only
# what playing needs, the others also what testing needs.
JOBS ?= 2
BUILD := build
BUILD_SAN := build-san
BUILD_FUZZ := build-fuzz
FUZZ_SECONDS ?= 60
# make install: where to (PREFIX), and a staging root (DESTDIR) if any.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps deps-test build build-san build-fuzz play test fuzz bench install deb clean

all: build

deps:
	@./scripts/install-deps play

deps-test:
	@./scripts/install-deps test

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

build-san: deps-test
	cmake -S . -B $(BUILD_SAN) -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON
	cmake --build $(BUILD_SAN) -j$(JOBS)

# The libFuzzer targets, built with clang in a folder of their own.
build-fuzz: deps-test
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j$(JOBS)

play: build
	cd $(BUILD)/game && ./vesk

test: deps-test build build-san build-fuzz
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD_SAN) --output-on-failure -j$(JOBS)
	BUILD_FUZZ=$(BUILD_FUZZ) ./scripts/fuzz check

# Each fuzz target for FUZZ_SECONDS seconds.
fuzz: build-fuzz
	BUILD_FUZZ=$(BUILD_FUZZ) ./scripts/fuzz run $(FUZZ_SECONDS)

bench: deps-test build
	@top=$$(pwd); for b in $(BUILD)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then \
	    echo "== $$(basename $$b)"; (cd $(BUILD)/game && "$$top/$$b") || exit 1; \
	  fi; \
	done

# Installs what `make` built; builds nothing, so that `sudo make install`
# leaves no file in the build folder owned by root.
install:
	@test -x $(BUILD)/game/vesk || { echo "make install: nothing built yet; run 'make' first (not as root)"; exit 1; }
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if [ "$$(id -u)" = 0 ] && [ -f $(BUILD)/install_manifest.txt ]; then \
	  chown --reference=$(BUILD) $(BUILD)/install_manifest.txt; fi

# The Debian package, checked by lintian: $(BUILD)/vesk_<version>_<arch>.deb.
deb: deps-test build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/vesk_*.deb

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ)
