# One entry point for building, running and testing Test Builder on Debian.
#   make        build dist/TestBuilder.exe
#   make run    start it under Wine (your display if DISPLAY is set, else a virtual one)
#   make screenshots  picture both windows into docs/ for the README
#   make test   install what is missing, build, run every test under Wine (and a short fuzz run)
#   make fuzz   run every fuzz target of the core for FUZZ_SECONDS each (default 60)
BUILD      ?= build
NATIVE     ?= build-native
# Beside BUILD, so that people who test in their own BUILD folder also fuzz in their own.
FUZZ       ?= $(BUILD)-fuzz
FUZZ_SECONDS       ?= 60
FUZZ_SHORT_SECONDS ?= 15
WINEPREFIX ?= $(abspath $(BUILD))/wineprefix
export WINEPREFIX

JOBS := $(shell nproc)

.PHONY: all deps configure build native-test fuzz-build fuzz fuzz-short test run screenshots clean

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

clean:
	rm -rf $(BUILD) $(NATIVE) $(FUZZ) dist
