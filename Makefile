# The two commands: `make demo` and `make test`. Plain `make` builds.
BUILD := build

.PHONY: all build demo test bench release fuzz clean

all: build

build:
	@scripts/build.sh $(BUILD)

demo:
	@scripts/demo.sh

test:
	@scripts/test.sh

bench:
	@scripts/bench.sh

# A time-bounded fuzz campaign of every reader: WXLM_FUZZ_SECONDS per harness (default 60).
fuzz:
	@scripts/setup.sh
	@scripts/fuzz.sh campaign

release:
	@WXLM_ARCH=i686 scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DWXLM_BUILD_TESTS=OFF
	@echo "release: build-release/bin/wxlm_main.exe"

clean:
	rm -rf $(BUILD) build-bench build-release build-fuzz build-fuzz-x86_64
