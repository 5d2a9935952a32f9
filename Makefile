# One entry point for building, running and testing Test Builder on Debian.
#   make        build dist/TestBuilder.exe
#   make run    start it under Wine (your display if DISPLAY is set, else a virtual one)
#   make screenshots  picture both windows into docs/ for the README
#   make test   install what is missing, build, run every test under Wine
BUILD      ?= build
NATIVE     ?= build-native
WINEPREFIX ?= $(abspath $(BUILD))/wineprefix
export WINEPREFIX

JOBS := $(shell nproc)

.PHONY: all deps configure build native-test test run screenshots clean

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

test: native-test build
	scripts/with-display.sh sh -c 'cd $(BUILD) && ctest --output-on-failure -j1 --timeout 300'

run: build
	@scripts/run.sh

screenshots: build
	@BUILD=$(BUILD) scripts/screenshots.sh

clean:
	rm -rf $(BUILD) $(NATIVE) dist
