# make run   set up, build, run the browser on the bundled sample
# make test  set up, build everything, run every test
# make bench benchmarks (not part of the tests)
# make fuzz  run each fuzz target for FUZZ_SECONDS (60) s; make test runs each for 5 s
# make dist  the four programs and the release zip in dist/
# make browse FILE=x-Freq-phraseFrames.txt   the browser on your own file
# make filter FILES='a.txt b.txt' [STOPWORDS=list]   the filter on your files
# make frames CORPUS='texts/ more.txt' [OUT=prefix] [OPTIONS='-n 3-5 -ngrams']
#            phrase frames (and n-gram lists) from your own corpus

BUILD   := build
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/asan
WIN     := $(BUILD)/win
# The Windows build the tests run under Wine: the shipped 32-bit one, or on a
# machine that cannot run 32-bit code a 64-bit build of the same source.
WINARCH := $(shell scripts/wine-arch)
WINTEST := $(if $(filter win64,$(WINARCH)),$(BUILD)/win64,$(WIN))
WINTEST_TOOLCHAIN := cmake/mingw-$(if $(filter win64,$(WINARCH)),x86_64,i686).cmake
FUZZ    := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
JOBS    := $(shell nproc)
DISPLAYED := scripts/with-display

# Builds only the named programs in the Windows tree the machine runs, for
# the targets that run them; the build's output is shown only when it fails.
define build-programs
@mkdir -p $(BUILD)
@{ cmake -S . -B $(WINTEST) -DCMAKE_TOOLCHAIN_FILE=$(WINTEST_TOOLCHAIN) -DCMAKE_BUILD_TYPE=Release && \
   cmake --build $(WINTEST) -j $(JOBS) --target $(1); } >$(BUILD)/programs.log 2>&1 || \
   { cat $(BUILD)/programs.log; echo "== the build failed (log: $(BUILD)/programs.log)"; exit 1; }
endef

.PHONY: all setup native asan win test run run-filter bench dist clean browse filter frames
.PHONY: fuzz fuzz-build

all: native win

setup:
	@scripts/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

asan: setup
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DCORVALE_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

win: setup
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j $(JOBS)
	@if [ "$(WINTEST)" != "$(WIN)" ]; then \
	  echo "== this machine cannot run 32-bit code: the Wine-side tests use a 64-bit build"; \
	  cmake -S . -B $(WINTEST) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null && \
	  cmake --build $(WINTEST) -j $(JOBS); fi

test: native asan win
	@echo "== native tests"
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@echo "== native tests under AddressSanitizer and UBSan"
	@cd $(ASAN) && ctest --output-on-failure -j $(JOBS)
	@echo "== fuzz targets under AddressSanitizer and UBSan, 5 s each"
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=5
	@echo "== Windows tests under Wine ($(WINARCH))"
	@CORVALE_BUILD=$(abspath $(BUILD)) $(DISPLAYED) sh -c 'cd $(WINTEST) && ctest --output-on-failure'

# The fuzz targets need clang's libFuzzer, so they get their own build dir.
fuzz-build: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVALE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

fuzz: fuzz-build
	@tests/fuzz/run $(FUZZ) $(FUZZ_SECONDS)

run: setup
	$(call build-programs,CorvalePhraseFrames)
	@CORVALE_BUILD=$(abspath $(BUILD)) scripts/run-browser

run-filter: setup
	$(call build-programs,CorvaleStopwords)
	@CORVALE_BUILD=$(abspath $(BUILD)) scripts/run-filter

bench: native win
	@CORVALE_BUILD=$(abspath $(BUILD)) $(DISPLAYED) bench/run

dist: win
	@scripts/make-dist $(WIN) dist >/dev/null
	@ls -l dist

browse: setup
	$(call build-programs,CorvalePhraseFrames)
	@CORVALE_BUILD=$(abspath $(BUILD)) scripts/browse $(if $(FILE),"$(FILE)")

filter: setup
	$(call build-programs,CorvaleStopwords)
	@CORVALE_BUILD=$(abspath $(BUILD)) STOPWORDS='$(STOPWORDS)' scripts/filter $(FILES)

OUT ?= corpus
frames: setup
	@mkdir -p $(BUILD)
	@{ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release && cmake --build $(NATIVE) -j $(JOBS) --target makeframes; } \
	  >$(BUILD)/programs.log 2>&1 || { cat $(BUILD)/programs.log; exit 1; }
	@if [ -z "$(CORPUS)" ]; then echo "usage: make frames CORPUS='texts/ more.txt' [OUT=prefix] [OPTIONS='-n 3-5 -ngrams -stats']"; exit 2; fi
	@$(NATIVE)/makeframes/makeframes $(OPTIONS) $(CORPUS) $(OUT)

clean:
	rm -rf $(BUILD) dist
