# The two commands: `make demo` and `make test`. Plain `make` builds.
BUILD := build

.PHONY: all build demo test bench release clean

all: build

build:
	@scripts/build.sh $(BUILD)

demo:
	@scripts/demo.sh

test:
	@scripts/test.sh

bench:
	@scripts/bench.sh

release:
	@WXLM_ARCH=i686 scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DWXLM_BUILD_TESTS=OFF
	@echo "release: build-release/bin/wxlm_main.exe"

clean:
	rm -rf $(BUILD) build-release
