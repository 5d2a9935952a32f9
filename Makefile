# One entry point for building, running and testing Test Builder on Debian.
#   make        build dist/TestBuilder.exe, the 32-bit release (the program only, no tests)
#   make run    start it under Wine (your display if DISPLAY is set, else a virtual one)
#   make screenshots  picture both windows into docs/ for the README
#   make test   install what is missing, build, run every test under Wine (and a short fuzz run)
#   make fuzz   run every fuzz target of the core for FUZZ_SECONDS each (default 60)
#   make bench  measure the tool against bare baselines under Wine into docs/performance.md
#   make dist   dist/TestBuilder-VERSION-win32.zip: the executable, the user's guide and LICENSE
#
# Where the machine cannot run 32-bit programs (a kernel without 32-bit support: the 32-bit Wine
# loader fails with "Exec format error"), `make test`, `make run`, `make screenshots` and
# `make bench` use the same sources built for 64-bit Windows in BUILD64 instead, and say so.
# scripts/wine-arch.sh decides by starting the 32-bit loader; TB_ARCH=i686 or TB_ARCH=x86_64
# forces the choice. The release is always the 32-bit dist/TestBuilder.exe.
BUILD      ?= build
BUILD64    ?= build-x86_64
NATIVE     ?= build-native
# Beside BUILD, so that people who test in their own BUILD folder also fuzz in their own.
FUZZ       ?= $(BUILD)-fuzz
FUZZ_SECONDS       ?= 60
FUZZ_SHORT_SECONDS ?= 15

JOBS := $(shell nproc)
# The one place the version is kept; CMake reads the same line for the VERSIONINFO resource.
VERSION  := $(strip $(shell head -n 1 VERSION | tr -d '\r'))
DIST_ZIP := dist/TestBuilder-$(VERSION)-win32.zip
RELEASE  := dist/TestBuilder.exe

# The build that runs under Wine: TB_ARCH is set by the steps below (from scripts/wine-arch.sh)
# before any of these is used. Each build folder has its own Wine prefix.
ARCH64     = $(filter x86_64,$(TB_ARCH))
ARCH_BUILD = $(if $(ARCH64),$(BUILD64),$(BUILD))
ARCH_EXE   = $(if $(ARCH64),$(BUILD64)/TestBuilder.exe,$(RELEASE))
ARCH_WORDS = $(if $(ARCH64),the 64-bit build (x86_64: $(ARCH_EXE)),the 32-bit release build (i686: $(RELEASE)))
export WINEPREFIX   = $(abspath $(ARCH_BUILD))/wineprefix
export TB_WINE_ARCH = $(if $(ARCH64),x86_64,i686)

CONFIGURE_i686   = cmake --no-warn-unused-cli -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
                   -DCMAKE_BUILD_TYPE=Release -DTB_EXE_DIR=$(CURDIR)/dist
CONFIGURE_x86_64 = cmake --no-warn-unused-cli -S . -B $(BUILD64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
                   -DCMAKE_BUILD_TYPE=Release
ARCH_CONFIGURE   = $(if $(ARCH64),$(CONFIGURE_x86_64),$(CONFIGURE_i686))

.PHONY: all deps deps-build configure build native-test fuzz-build fuzz fuzz-short test run screenshots \
        bench dist clean with-arch tested-build test-steps arch-configure arch-build run-arch \
        screenshots-arch bench-arch

all: build

deps:
	@scripts/install-deps.sh build test

deps-build:
	@scripts/install-deps.sh build

$(BUILD)/CMakeCache.txt: | deps-build
	$(CONFIGURE_i686)

configure: $(BUILD)/CMakeCache.txt

# The program alone: a newcomer who wants it waits for nothing else.
build: configure
	cmake --build $(BUILD) -j $(JOBS) --target TestBuilder

# The platform-neutral core also builds and passes its tests with the machine's own g++.
native-test: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE) -j $(JOBS)
	cd $(NATIVE) && ctest --output-on-failure

# The core again, built with clang, libFuzzer, ASan and UBSan; every target asserts properties.
fuzz-build: deps
	cmake -S . -B $(FUZZ) -DTB_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ) -j $(JOBS)

fuzz: fuzz-build
	scripts/run-fuzzers.sh $(FUZZ) $(FUZZ_SECONDS)

fuzz-short: fuzz-build
	scripts/run-fuzzers.sh $(FUZZ) $(FUZZ_SHORT_SECONDS)

# Runs GOAL again with TB_ARCH chosen for this machine (or as forced), once Wine is installed.
with-arch: deps
	@line="$$(scripts/wine-arch.sh --why)" && \
	 $(MAKE) --no-print-directory $(GOAL) TB_ARCH="$$(echo "$$line" | cut -f1)" TB_ARCH_WHY="$$(echo "$$line" | cut -f2)"

test:
	@$(MAKE) --no-print-directory with-arch GOAL=tested-build

# Says which build the tests drive, and why, first and again last, whatever the outcome.
tested-build:
	@echo "== make test: testing $(ARCH_WORDS) under Wine: $(TB_ARCH_WHY)"
	@status=0; $(MAKE) --no-print-directory test-steps || status=$$?; \
	 if [ $$status -eq 0 ]; then result="passed"; else result="FAILED"; fi; \
	 echo "== make test: $$result; the tests drove $(ARCH_WORDS): $(TB_ARCH_WHY)"; exit $$status

# The 64-bit build's tests check the 64-bit executable; the 32-bit release is checked here too.
test-steps: native-test fuzz-short arch-build
	@if [ "$(ARCH_BUILD)" != "$(BUILD)" ]; then \
	    $(MAKE) --no-print-directory build && \
	    echo "== The 32-bit release's footprint (read natively, no Wine needed):" && \
	    bash tests/footprint/footprint_test.sh i686-w64-mingw32-objdump $(RELEASE) i686; fi
	scripts/with-display.sh sh -c 'cd $(ARCH_BUILD) && ctest --output-on-failure -j1 --timeout 300'

# The build folder of TB_ARCH, configured (`deps` installed both cross compilers).
arch-configure:
	$(ARCH_CONFIGURE) $(CONFIGURE_EXTRA)

# That build with its tests.
arch-build:
	@$(MAKE) --no-print-directory arch-configure CONFIGURE_EXTRA=-DTB_TESTS=ON
	cmake --build $(ARCH_BUILD) -j $(JOBS)

run:
	@$(MAKE) --no-print-directory with-arch GOAL=run-arch

run-arch: arch-configure
	cmake --build $(ARCH_BUILD) -j $(JOBS) --target TestBuilder
	@echo "Running $(ARCH_WORDS): $(TB_ARCH_WHY)"
	@TB_EXE=$(ARCH_EXE) scripts/run.sh

screenshots:
	@$(MAKE) --no-print-directory with-arch GOAL=screenshots-arch

screenshots-arch: arch-configure
	@echo "Picturing $(ARCH_WORDS): $(TB_ARCH_WHY)"
	@BUILD=$(ARCH_BUILD) TB_EXE=$(ARCH_EXE) scripts/screenshots.sh

# Start, idle CPU time, memory and large-file reading, each side by side with its baseline in
# one run (a few minutes); prints the table and writes it to docs/performance.md, which names
# the build and the Wine loader the figures come from.
bench:
	@$(MAKE) --no-print-directory with-arch GOAL=bench-arch

bench-arch: arch-configure
	cmake --build $(ARCH_BUILD) -j $(JOBS) --target TestBuilder tb_bench bare_dialog
	@echo "Measuring $(ARCH_WORDS): $(TB_ARCH_WHY)"
	scripts/with-display.sh scripts/wine-run.sh $(ARCH_BUILD)/bench/tb_bench.exe $(ARCH_EXE) \
		$(ARCH_BUILD)/bench/bare_dialog.exe docs/performance.md

# The release a user downloads: one folder's worth of files, flat in the archive. The text files
# get CR LF line ends (zip -l), so that every Notepad shows them properly. Users get their own
# guide (docs/UserGuide.txt); README.md is the developers' page.
dist: build
	@scripts/install-deps.sh dist
	bash tests/footprint/footprint_test.sh i686-w64-mingw32-objdump $(RELEASE) i686
	rm -f $(DIST_ZIP)
	zip -X -j -q $(DIST_ZIP) $(RELEASE)
	zip -X -j -q -l $(DIST_ZIP) docs/UserGuide.txt LICENSE
	@echo "$(DIST_ZIP):" && unzip -l $(DIST_ZIP)

clean:
	rm -rf $(BUILD) $(BUILD64) $(NATIVE) $(FUZZ) dist
