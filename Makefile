# The two commands a new user needs: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps.sh, apt-get on Debian 12).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test deps build unit-tests sanitize fuzz wine-tests bench screenshot install deb clean

run: build
	./$(BUILD)/app/Pevrand

# Every test: the main build's suite (unit, window, resource and packaging checks), the Wine
# suite, the fuzzers for a bounded time, the unit tests again under the sanitizers, and the
# Debian package (lintian; installed and removed only as root with CI=true).
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	scripts/wine-tests.sh
	scripts/fuzz.sh
	scripts/sanitize.sh
	scripts/deb.sh --install-test

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DPEVRAND_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

sanitize: deps
	scripts/sanitize.sh

fuzz: deps
	scripts/fuzz.sh

wine-tests: deps
	scripts/wine-tests.sh

bench: build
	scripts/bench.sh
	bench/startup.sh
	bench/batch.sh

screenshot: build
	scripts/screenshot.sh

# dist/pevrand_<version>-1_<arch>.deb, checked by lintian.
deb: build
	scripts/deb.sh

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf build build-* dist
