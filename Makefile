# The two commands a new user needs: `make run` and `make test`. Each target first installs
# what it needs and nothing more (scripts/install-deps.sh SET, apt-get on Debian 12): `make run`
# only the compiler, CMake and Qt.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run check test build sanitize fuzz wine-tests bench screenshot install uninstall deb clean \
	windows windows-screenshots web web-tests web-screenshot serve release reproducible

# Configures the main build with the options $(1). A build folder that `make run` makes afresh
# leaves out the tests, benchmarks and the Python module, whose packages it doesn't install;
# the other targets switch on what they use, and nothing they switch on is switched off again.
configure = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DPEVRAND_WERROR=ON $(1) $(CMAKE_FLAGS)
fresh = $(if $(wildcard $(BUILD)/CMakeCache.txt),,$(1))

# The program and pevrand-convert, from a build folder of the window's packages alone.
program = @scripts/install-deps.sh run && \
	$(call configure,$(call fresh,-DPEVRAND_TESTS=OFF -DPEVRAND_BENCH=OFF -DPEVRAND_PYTHON=OFF)) && \
	cmake --build $(BUILD) -j$(JOBS) --target Pevrand pevrand-convert $(1)

run:
	$(call program)
	$(BUILD)/app/Pevrand

# The native build's own suite, quick (under a minute after a build): the engine, the command
# and the reactions, the CLI, the Python module, the Qt windows offscreen, the desktop entry,
# and the documents' links and the paths and targets they name.
# No cross-build, browser, fuzzer, sanitizer, window manager or package.
check:
	@scripts/install-deps.sh check
	$(call configure,-DPEVRAND_TESTS=ON -DPEVRAND_PYTHON=ON $(call fresh,-DPEVRAND_BENCH=OFF))
	cmake --build $(BUILD) -j$(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -L 'unit|window|resources|python|docs'

# Every test: the main build's suite (unit, window, resource, desktop and script checks), the
# Wine suite, the page's suite (built afresh first; engine under node, page in headless
# Chromium), the fuzzers for a bounded time, the unit tests again under the sanitizers, and the
# Debian packages (lintian; installed and removed only as root with CI=true).
test:
	@scripts/install-deps.sh test
	$(MAKE) --no-print-directory build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE web
	scripts/wine-tests.sh
	JOBS=$(JOBS) BUILD=$(BUILD) scripts/web-tests.sh
	scripts/fuzz.sh
	scripts/sanitize.sh
	scripts/deb.sh --install-test

# The whole main build: the program, its tests, the benchmarks and the Python module.
build:
	@scripts/install-deps.sh check bench
	$(call configure,-DPEVRAND_TESTS=ON -DPEVRAND_BENCH=ON -DPEVRAND_PYTHON=ON)
	cmake --build $(BUILD) -j$(JOBS)

sanitize:
	@scripts/install-deps.sh fuzz
	scripts/sanitize.sh

fuzz:
	@scripts/install-deps.sh fuzz
	scripts/fuzz.sh

wine-tests:
	@scripts/install-deps.sh windows
	scripts/wine-tests.sh

# The benchmarks, after a line saying where and when they ran. Each figure with a limit fails
# `make bench` when it is past it (docs/performance.md says which); all of them run first.
bench: build
	@scripts/install-deps.sh bench
	@echo "== $$(date -u '+%F %H:%M UTC'), commit $$(git rev-parse --short HEAD 2>/dev/null)," \
	    "$$(lscpu | sed -n 's/^Model name: *//p'), $$(nproc) cores, load $$(cut -d' ' -f1-3 /proc/loadavg)"
	@failed=""; \
	scripts/bench.sh || failed="$$failed engine"; \
	bench/startup.sh || failed="$$failed start-up"; \
	bench/batch.sh || failed="$$failed batch"; \
	PYTHONPATH=$(BUILD)/python /usr/bin/python3 bench/python.py || failed="$$failed python"; \
	JOBS=$(JOBS) bench/web.sh || failed="$$failed page"; \
	if [ -n "$$failed" ]; then echo "bench: past a limit or failed:$$failed"; exit 1; fi

screenshot: build
	@scripts/install-deps.sh desktop
	scripts/screenshot.sh

# dist/pevrand_<version>-1_<arch>.deb and python3-pevrand, checked by lintian.
deb: build
	@scripts/install-deps.sh deb
	scripts/deb.sh

# The native Windows program for 64-bit and 32-bit Windows, cross-built with MinGW-w64 and
# packed as dist/Pevrand-<version>-win64.zip and -win32.zip, and the installers.
windows:
	@scripts/install-deps.sh windows
	JOBS=$(JOBS) scripts/windows-dist.sh

# The Win32 windows as Wine draws them: docs/windows-main-window.png, docs/windows-about-window.png.
windows-screenshots: windows
	scripts/screenshot-windows.sh

# The page: dist/pevrand-<version>.html, one file with the WebAssembly inside, for any browser,
# and dist/web/, the same page as a folder to host, installable and offline after one visit.
web:
	@scripts/install-deps.sh web
	JOBS=$(JOBS) scripts/web-dist.sh

# dist/web/ served on 127.0.0.1 for a local look; prints the address (PORT=n, default 8000).
PORT ?= 8000
serve: web
	PORT=$(PORT) scripts/serve.py dist/web

# The page's suite alone (see test).
web-tests: build
	@scripts/install-deps.sh web-tests
	JOBS=$(JOBS) BUILD=$(BUILD) scripts/web-tests.sh

# The page as Chromium draws it: docs/web-page.png.
web-screenshot:
	@scripts/install-deps.sh web-tests
	JOBS=$(JOBS) scripts/screenshot-web.sh

# The program, pevrand-convert, their manual pages, the menu entry and the icons, under PREFIX;
# only the window's packages are installed and no test is built. The build runs as you; only
# the copy goes through sudo, where PREFIX isn't yours. `make uninstall` removes exactly those
# files (listed in $(BUILD)/install_manifest.txt).
PREFIX ?= /usr/local
install:
	$(call program,pevrand_packaging_docs)
	scripts/install.sh install $(BUILD) $(PREFIX)

uninstall:
	scripts/install.sh uninstall $(BUILD)

# dist/release/: every file of a release, SHA256SUMS and RELEASE-NOTES.md, from a checkout
# without uncommitted changes (ALLOW_DIRTY=1: anyway). See docs/install.md.
release:
	@scripts/install-deps.sh test
	JOBS=$(JOBS) scripts/release.sh

# The release built twice from this commit in two temporary folders, compared byte for byte;
# diffoscope tells what differs in any file that does, and the target fails.
reproducible:
	@scripts/install-deps.sh test release
	JOBS=$(JOBS) scripts/reproducible.sh

clean:
	rm -rf build build-* dist
