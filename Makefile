# The two set-up commands of a fresh machine: `make run` and `make test`.
# Each installs what is missing, builds into build/ and makes the data root there.

BUILD  ?= build
JOBS   ?= $(shell nproc)
CMAKE_FLAGS ?=
# Where make install puts the game: the player's own ~/.local needs no root;
# PREFIX=/usr/local (with sudo) installs it for everyone. DESTDIR stages it.
PREFIX ?= $(HOME)/.local
DESTDIR ?=

.PHONY: run test bench deps configure build data install uninstall deb sanitize coverage clean

# Fills the cache first, so that the first New Game is ready at once (nothing to do
# when it is full; the game starts even if that fails); without a display the game
# runs under xvfb-run for a screenshot.
run: data
	-$(BUILD)/pelorin-tool prepare --root $(BUILD)
	@scripts/run-game.sh $(BUILD)

test: data
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: data
	$(BUILD)/bench/pelorin-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	xvfb-run -a $(BUILD)/bench/pelorin-scene-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	scripts/bench-window.sh $(BUILD) 5
	scripts/bench-memory.sh $(BUILD) 5

# Says so and changes nothing when the prefix is not writable; uninstall removes
# exactly what install recorded, and says so when nothing was installed.
install: data
	@scripts/install.sh install $(BUILD) "$(PREFIX)" "$(DESTDIR)"

uninstall:
	@scripts/install.sh uninstall "$(PREFIX)" "$(DESTDIR)"

# The Debian package, build/pelorin_VERSION_ARCH.deb: what install puts under /usr,
# for apt to install and remove.
deb: data
	@scripts/make-deb.sh $(BUILD)

deps:
	@scripts/install-deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

data: build
	cmake --build $(BUILD) --target data

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# under ThreadSanitizer, each in a build folder of its own. Qt itself is not built
# with ThreadSanitizer; tests/tsan.supp says which of its reports are dropped.
sanitize: deps
	cmake -S . -B build-asan -DPELORIN_SANITIZE=address,undefined -DPELORIN_BUILD_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cmake --build build-asan --target data
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)
	cmake -S . -B build-tsan -DPELORIN_SANITIZE=thread -DPELORIN_BUILD_BENCH=OFF
	cmake --build build-tsan -j $(JOBS)
	cmake --build build-tsan --target data
	TSAN_OPTIONS=halt_on_error=1:suppressions=$(CURDIR)/tests/tsan.supp \
	  ctest --test-dir build-tsan --output-on-failure -j $(JOBS)

# Line coverage of src/ and tools/ by the whole suite, in a build folder of its own,
# and the tests' share of the code in lines.
# The counts of making the data root are dropped, so only the tests count.
coverage: deps
	cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DPELORIN_COVERAGE=ON -DPELORIN_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-coverage -j $(JOBS)
	cmake --build build-coverage --target data
	find build-coverage -name '*.gcda' -delete
	ctest --test-dir build-coverage --output-on-failure -j $(JOBS)
	mkdir -p build-coverage/coverage
	gcovr --root . --filter 'src/' --filter 'tools/' --gcov-ignore-parse-errors \
	  --txt build-coverage/coverage.txt --html-details build-coverage/coverage/index.html \
	  --print-summary build-coverage
	@scripts/test-share.sh

clean:
	rm -rf $(BUILD) build-asan build-tsan build-coverage
