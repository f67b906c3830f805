# The two commands of the README: `make demo` and `make test`. Both set the
# machine up first (scripts/setup.sh is idempotent and quick when all is there).
#
# build/host   the pure core and its unit tests, native, under ASan and UBSan
# build/win32  the shipped 32-bit console.exe and Corvane.exe (copied to dist/),
#              optimised for size: a launcher's cost is loading it, not computing
# build/win64  the same sources as 64-bit programs with every test exe and
#              fixture: Wine runs these with its 64-bit loader, which works on
#              kernels that refuse to execute 32-bit code
BUILD ?= build
HOST := $(BUILD)/host
WIN32 := $(BUILD)/win32
WIN64 := $(BUILD)/win64
CMAKE_GEN := -G Ninja

.PHONY: all setup build build-tests test demo bench clean

all: build

setup:
	@scripts/setup.sh

$(HOST)/build.ninja: | setup
	cmake -S . -B $(HOST) $(CMAKE_GEN) -DKIV_HOST_BUILD=ON -DCMAKE_BUILD_TYPE=Debug

$(WIN32)/build.ninja: | setup
	cmake -S . -B $(WIN32) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel -DKIV_BUILD_TESTS=OFF

$(WIN64)/build.ninja: | setup
	cmake -S . -B $(WIN64) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DKIV_HOST_UNIT_TESTS=$(abspath $(HOST))/bin/kiv_unit_tests

build: setup $(WIN32)/build.ninja
	cmake --build $(WIN32)
	mkdir -p dist
	cp $(WIN32)/bin/console.exe $(WIN32)/bin/Corvane.exe dist/
	scripts/check-imports.sh dist/console.exe dist/Corvane.exe

build-tests: build $(HOST)/build.ninja $(WIN64)/build.ninja
	cmake --build $(HOST)
	cmake --build $(WIN64)

test: build-tests
	scripts/run-tests.sh $(BUILD)

demo: build-tests
	scripts/demo.sh $(BUILD)

bench: build-tests
	scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist
