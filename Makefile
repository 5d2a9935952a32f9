# One entry point for building, running and testing Test Builder on Debian.
#   make        build dist/TestBuilder.exe, the 32-bit release (the program only, no tests)
#   make run    start it under Wine (your display if DISPLAY is set, else a virtual one)
#   make screenshots  picture both windows into docs/ for the README
#   make test   install what is missing, build, run every test under Wine (and a short fuzz run)
#   make fuzz   run every fuzz target of the core for FUZZ_SECONDS each (default 60)
#   make bench  measure the tool against bare baselines under Wine into docs/performance.md
#   make dist   dist/TestBuilder-VERSION-win32.zip: the executable, the user's guide and LICENSE
#
# Where the machine cannot run 32-bit programs under Wine (the 32-bit Wine could not be
# installed, or the kernel has no 32-bit support: "Exec format error"), `make test`, `make run`,
# `make screenshots` and `make bench` use the same sources built for 64-bit Windows in BUILD64
# instead, and say so. scripts/wine-arch.sh decides by starting the 32-bit loader; TB_ARCH=i686
# or TB_ARCH=x86_64 forces the choice. The release is always the 32-bit dist/TestBuilder.exe.
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

CONFIGURE_i686   = cmake --no-warn-unused-cli -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
                   -DCMAKE_BUILD_TYPE=Release -DTB_EXE_DIR=$(CURDIR)/dist
CONFIGURE_x86_64 = cmake --no-warn-unused-cli -S . -B $(BUILD64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
                   -DCMAKE_BUILD_TYPE=Release

# The build that runs under Wine: scripts/wine-arch.sh prints it, a tab and the reason. It is
# asked once, when a recipe first needs it, which is after `deps` has installed Wine (make
# expands a recipe only when it runs). Each build folder has its own Wine prefix, which WINE_ENV
# hands to the scripts.
WINE_CHOICE = $(eval WINE_CHOICE := $$(shell scripts/wine-arch.sh --why))$(WINE_CHOICE)
WINE_WHY    = $(wordlist 2,999,$(WINE_CHOICE))
ON_64       = $(filter x86_64,$(firstword $(WINE_CHOICE)))
WINE_BUILD  = $(if $(ON_64),$(BUILD64),$(BUILD))
WINE_EXE    = $(if $(ON_64),$(BUILD64)/TestBuilder.exe,$(RELEASE))
WINE_WORDS  = $(if $(ON_64),the 64-bit build (x86_64: $(WINE_EXE)),the 32-bit release build (i686: $(RELEASE)))
WINE_CONFIGURE = $(if $(ON_64),$(CONFIGURE_x86_64),$(CONFIGURE_i686))
WINE_ENV    = WINEPREFIX=$(abspath $(WINE_BUILD))/wineprefix TB_WINE_ARCH=$(if $(ON_64),x86_64,i686)

.PHONY: all build deps deps-build native-test fuzz-build fuzz fuzz-short test test-steps run screenshots \
        bench dist clean

all: build

# The packages `make` needs (the 32-bit cross compiler and CMake), and those of everything else.
deps-build:
	@scripts/install-deps.sh build

# A 32-bit Wine that cannot be installed is remembered in the build folder for a day, so that
# `make test` does not fetch the package lists again each time (TB_RETRY_WINE32=1 tries at once).
deps:
	@TB_WINE32_MEMORY=$(abspath $(BUILD))/wine32-not-installable scripts/install-deps.sh build test

$(BUILD)/CMakeCache.txt: | deps-build
	$(CONFIGURE_i686)

# The program alone: a newcomer who wants it waits for nothing else.
build: $(BUILD)/CMakeCache.txt
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

# Says which build the tests drive, and why, first and again last, whatever the outcome: the
# steps run in a make of their own (told that `deps` is done), so that this one is still there to
# say it when they fail.
test: deps
	@echo "== make test: testing $(WINE_WORDS) under Wine: $(WINE_WHY)"
	@status=0; $(MAKE) --no-print-directory -o deps test-steps || status=$$?; \
	 if [ $$status -eq 0 ]; then result="passed"; else result="FAILED"; fi; \
	 echo "== make test: $$result; the tests drove $(WINE_WORDS): $(WINE_WHY)"; exit $$status

# The Wine build with its tests. The 64-bit build's tests check the 64-bit executable, so there
# the 32-bit release's footprint is checked here (natively, no Wine needed).
test-steps: native-test fuzz-short build
	$(WINE_CONFIGURE) -DTB_TESTS=ON
	cmake --build $(WINE_BUILD) -j $(JOBS)
	$(if $(ON_64),bash tests/footprint/footprint_test.sh i686-w64-mingw32-objdump $(RELEASE) i686)
	$(WINE_ENV) scripts/with-display.sh sh -c 'cd $(WINE_BUILD) && ctest --output-on-failure -j1 --timeout 300'

run: deps
	$(WINE_CONFIGURE)
	cmake --build $(WINE_BUILD) -j $(JOBS) --target TestBuilder
	@echo "Running $(WINE_WORDS): $(WINE_WHY)"
	@$(WINE_ENV) TB_EXE=$(WINE_EXE) scripts/run-tool.sh

screenshots: deps
	$(WINE_CONFIGURE)
	@echo "Picturing $(WINE_WORDS): $(WINE_WHY)"
	@$(WINE_ENV) BUILD=$(WINE_BUILD) TB_EXE=$(WINE_EXE) scripts/screenshots.sh

# Start, idle CPU time, memory and large-file reading, each side by side with its baseline in
# one run (several minutes); prints the table and writes it to docs/performance.md, which names
# the build and the Wine loader the figures come from.
bench: deps
	$(WINE_CONFIGURE)
	cmake --build $(WINE_BUILD) -j $(JOBS) --target TestBuilder tb_bench bare_dialog
	@echo "Measuring $(WINE_WORDS): $(WINE_WHY)"
	$(WINE_ENV) scripts/with-display.sh scripts/wine-run.sh $(WINE_BUILD)/bench/tb_bench.exe $(WINE_EXE) \
		$(WINE_BUILD)/bench/bare_dialog.exe docs/performance.md

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
