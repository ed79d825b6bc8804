# make play  - install what is missing, build, and start the game
# make test  - install what is missing, build, and run every test (CI runs this)
# make build - build build/korvanewb, build/korvane3d and build/kvtool
# make install [PREFIX=/usr/local] [DESTDIR=...] - build, then install under PREFIX
# make package - build, then build/korvane_<version>_<arch>.deb

JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
PREFIX ?= /usr/local

.PHONY: deps build asan play test install package clean

deps:
	@bash scripts/install-deps.sh

build:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

asan:
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

play: deps build
	@bash scripts/play.sh $(ARGS)

install: deps build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: deps build
	cd $(BUILD) && cpack -G DEB

# The sanitizer run leaves out the slow perft depths and the end-to-end runs, all but one
# real-window game (Game3dSanitizedWindowGame).
test: deps build asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) -E 'Slow|EndToEnd'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
