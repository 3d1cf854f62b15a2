# The two commands a new user needs: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps.sh, apt-get on Debian 12).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test deps build unit-tests sanitize fuzz wine-tests bench screenshot install deb clean \
	windows windows-screenshots web

run: build
	./$(BUILD)/app/Pevrand

# Every test: the main build's suite (unit, window, resource and packaging checks), the Wine
# suite, the page's suite (built afresh first; engine under node, page in headless Chromium),
# the fuzzers for a bounded time, the unit tests again under the sanitizers, and the Debian
# package (lintian; installed and removed only as root with CI=true).
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE web
	scripts/wine-tests.sh
	JOBS=$(JOBS) BUILD=$(BUILD) scripts/web-tests.sh
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
	PYTHONPATH=$(BUILD)/python /usr/bin/python3 bench/python.py
	JOBS=$(JOBS) bench/web.sh

screenshot: build
	scripts/screenshot.sh

# dist/pevrand_<version>-1_<arch>.deb, checked by lintian.
deb: build
	scripts/deb.sh

# The native Windows program for 64-bit and 32-bit Windows, cross-built with MinGW-w64 and
# packed as dist/Pevrand-<version>-win64.zip and -win32.zip.
windows: deps
	JOBS=$(JOBS) scripts/windows-dist.sh

# The Win32 windows as Wine draws them: docs/windows-main-window.png, docs/windows-about-window.png.
windows-screenshots: windows
	scripts/screenshot-windows.sh

# The page: dist/pevrand-<version>.html, one file with the WebAssembly inside, for any browser.
web: deps
	JOBS=$(JOBS) scripts/web-dist.sh

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

.PHONY: web-tests web-screenshot

# The page's suite alone (see test).
web-tests: build
	JOBS=$(JOBS) BUILD=$(BUILD) scripts/web-tests.sh

# The page as Chromium draws it: docs/web-page.png.
web-screenshot: deps
	JOBS=$(JOBS) scripts/screenshot-web.sh

clean:
	rm -rf build build-* dist
