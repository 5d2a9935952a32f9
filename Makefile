# One entry point for building, running and testing Test Builder on Debian.
#   make        build dist/TestBuilder.exe
#   make run    start it under Wine (your display if DISPLAY is set, else a virtual one)
#   make screenshots  picture both windows into docs/ for the README
#   make test   install what is missing, build, run every test under Wine (and a short fuzz run)
#   make fuzz   run every fuzz target of the core for FUZZ_SECONDS each (default 60)
#   make bench  measure the tool against bare baselines under Wine into docs/performance.md
#   make dist   dist/TestBuilder-VERSION-win32.zip: the executable, README.md and LICENSE
BUILD      ?= build
NATIVE     ?= build-native
# Beside BUILD, so that people who test in their own BUILD folder also fuzz in their own.
FUZZ       ?= $(BUILD)-fuzz
FUZZ_SECONDS       ?= 60
FUZZ_SHORT_SECONDS ?= 15
WINEPREFIX ?= $(abspath $(BUILD))/wineprefix
export WINEPREFIX

JOBS := $(shell nproc)
# The one place the version is kept; CMake reads the same line for the VERSIONINFO resource.
VERSION  := $(strip $(shell head -n 1 VERSION | tr -d '\r'))
DIST_ZIP := dist/TestBuilder-$(VERSION)-win32.zip

.PHONY: all deps configure build native-test fuzz-build fuzz fuzz-short test run screenshots bench dist clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

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

test: native-test fuzz-short build
	scripts/with-display.sh sh -c 'cd $(BUILD) && ctest --output-on-failure -j1 --timeout 300'

run: build
	@scripts/run.sh

screenshots: build
	@BUILD=$(BUILD) scripts/screenshots.sh

# Start, idle CPU time, memory and large-file reading, each side by side with its baseline in
# one run (a few minutes); prints the table and writes it to docs/performance.md.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target TestBuilder tb_bench bare_dialog
	scripts/with-display.sh scripts/wine-run.sh $(BUILD)/bench/tb_bench.exe dist/TestBuilder.exe \
		$(BUILD)/bench/bare_dialog.exe docs/performance.md

# The release a user downloads: one folder's worth of files, flat in the archive. The text files
# get CR LF line ends (zip -l), so that every Notepad shows them properly.
dist: configure
	cmake --build $(BUILD) -j $(JOBS) --target TestBuilder
	bash tests/footprint/footprint_test.sh i686-w64-mingw32-objdump dist/TestBuilder.exe
	rm -f $(DIST_ZIP)
	zip -X -j -q $(DIST_ZIP) dist/TestBuilder.exe
	zip -X -j -q -l $(DIST_ZIP) README.md LICENSE
	@echo "$(DIST_ZIP):" && unzip -l $(DIST_ZIP)

clean:
	rm -rf $(BUILD) $(NATIVE) $(FUZZ) dist
