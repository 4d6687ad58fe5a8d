# Tolvaring: a Windows program, built with mingw-w64 and tested under Wine on Debian.
#   make demo    the program doing its job end to end, under Wine, without internet
#   make test    every test: native, sanitizers, a short fuzzing run, and the Windows tests under Wine
#   make run     start Tolvaring.exe under Wine on your display, in a namespace of its own
#   make bench   the scan benchmark (ratios against memchr) and the end-to-end benchmark
#   make fuzz    ten minutes of fuzzing per target
NATIVE := build/native
WIN := build/win
JOBS ?= 2
# The Windows tests wait for Wine much of their time: four chains of them (one per prefix)
# and the release and demo tests beside them keep the two cores busy.
WIN_TEST_JOBS ?= 5

.PHONY: all deps native win sign test test-native test-win test-slow demo run bench fuzz clean

all: native win

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(NATIVE) -j$(JOBS)

win: deps
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSIGN_CERT= -DSIGN_KEY=
	@if grep -qs "Signature" $(WIN)/dist/.signed 2>/dev/null; then rm -rf $(WIN)/dist; fi
	cmake --build $(WIN) -j$(JOBS)

# The release signed with Authenticode: make sign CERT=cert.pem KEY=key.pem
sign: deps
	@test -n "$(CERT)" -a -n "$(KEY)" || { echo "usage: make sign CERT=cert.pem KEY=key.pem" >&2; exit 2; }
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	    -DSIGN_CERT=$(abspath $(CERT)) -DSIGN_KEY=$(abspath $(KEY))
	rm -rf $(WIN)/dist
	cmake --build $(WIN) --target dist -j$(JOBS)
	@echo "Signature by $(CERT)" > $(WIN)/dist/.signed
	@cat $(WIN)/dist/SHA256SUMS

test-native: native
	ctest --test-dir $(NATIVE) -j$(JOBS) --output-on-failure

test-win: win
	ctest --test-dir $(WIN) -j$(WIN_TEST_JOBS) --output-on-failure -LE slow

# The Windows tests' prefix template and the release's second build (for the test that
# compares the two) made while the programs build (the tests make them themselves when run
# alone); the native tests (mostly the short fuzzing run) beside the
# Windows tests, which wait for Wine much of their time; the native report follows the
# Windows one.
test: deps
	@mkdir -p $(WIN); \
	tools/wine-fixture.sh template $(abspath $(WIN))/wine-template >$(WIN)/wine-template.log 2>&1 & \
	template=$$!; \
	tests/release_test.sh --second-build $(CURDIR) $(abspath $(WIN))/release-test & \
	second=$$!; \
	$(MAKE) --no-print-directory -j2 native win; built=$$?; \
	wait $$template; wait $$second; [ $$built -eq 0 ]
	@export TOLVARING_RELEASE_PREBUILT=1; ctest --test-dir $(NATIVE) -j$(JOBS) --output-on-failure >$(NATIVE)/test.log 2>&1 & \
	native=$$!; \
	ctest --test-dir $(WIN) -j$(WIN_TEST_JOBS) --output-on-failure -LE slow; win=$$?; \
	wait $$native; status=$$?; cat $(NATIVE)/test.log; \
	[ $$win -eq 0 ] && [ $$status -eq 0 ]

# The real 60-second time-outs; left out of the default run.
test-slow: win
	cmake --build $(WIN) --target win_slow_tests -j$(JOBS)
	ctest --test-dir $(WIN) --output-on-failure -L slow

demo: win
	tools/demo.sh $(WIN)

run: win
	tools/run.sh $(WIN)

bench: native win
	cmake --build $(NATIVE) --target scan_benchmark -j$(JOBS)
	cmake --build $(WIN) --target bench_driver -j$(JOBS)
	tools/bench.sh $(NATIVE)
	tools/e2e-bench.sh $(WIN)

fuzz: deps
	tools/fuzz.sh 600

clean:
	rm -rf build
