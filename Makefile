# Two targets do all the set-up: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

PREFIX ?= /usr/local
DESTDIR ?=
BINDIR = $(DESTDIR)$(PREFIX)/bin
MANDIR = $(DESTDIR)$(PREFIX)/share/man/man1
SHAREDIR = $(DESTDIR)$(PREFIX)/share/tindel

.PHONY: all deps build program author play test bench bench-e2e asan clang fuzz fuzz-run format clean install uninstall web serve-web web-property-tests bench-web

all: build

# Installs missing Debian packages (or names them); cheap when all are there.
deps:
	@scripts/ensure-packages

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

program: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target tindel

author: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target tindel-author

play: program
	cd examples && ../$(BUILD)/tindel 0 w stackle.qst

# The page's tests (in ctest when node and Chromium are there) play the site: built first.
test: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The interpreter in WebAssembly and the static site in build-web/site (see docs/web.md).
PAGE = web/page
$(PAGE)/node_modules: $(PAGE)/package-lock.json
	cd $(PAGE) && npm ci --no-audit --no-fund
	touch $@

build-web/CMakeCache.txt: | deps
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release

web: deps $(PAGE)/node_modules build-web/CMakeCache.txt
	NODE_PATH=/usr/share/nodejs cmake --build build-web -j $(JOBS) --target site

# The property tests of the save format and of number reading on the page's C++ library, in
# node.
web-property-tests: web
	NODE_PATH=/usr/share/nodejs cmake --build build-web -j $(JOBS) --target tindel_wasm_tests
	node build-web/web/tindel_wasm_tests.js

# The page's figures beside the native player's (bench/web_figures.mjs), and its media's.
bench-web: web
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTINDEL_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tindel tindel_figure_quests
	rm -rf build-bench/figure-quests && mkdir -p build-bench/figure-quests
	build-bench/tindel_figure_quests build-bench/figure-quests
	node bench/web_figures.mjs build-web/site build-bench/tindel build-bench/figure-quests
	node bench/web_media_figures.mjs build-web/site
	node bench/web_back_figures.mjs build-web/site

serve-web: web
	@echo "Serving build-web/site on http://localhost:8000 (Ctrl+C stops)"
	cd build-web/site && python3 -m http.server 8000 --bind 127.0.0.1

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTINDEL_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tindel_bench
	./build-bench/bench/tindel_bench

asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTINDEL_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

# The same build and tests with clang 14, which is stricter in places than g++.
clang: deps
	cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build build-clang -j $(JOBS)
	cd build-clang && ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets of fuzz/ (clang with ASan and UBSan); `make fuzz-run` gives each
# FUZZ_SECONDS of fuzzing from the committed seeds.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTINDEL_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz_all

fuzz-run: fuzz
	scripts/fuzz-run $(FUZZ_SECONDS) build-fuzz

# The player and the authors' program, their manuals tindel(1) and tindel-author(1), and the
# docs and the examples (with the walkthrough of the bundled quest and the media its quests
# play) under share/tindel; the page build too, when `make web` has made it, in
# share/tindel/web, where `tindel-author release` finds it.
install: program author
	install -d $(BINDIR) $(MANDIR) $(SHAREDIR)/docs $(SHAREDIR)/examples
	install -m 755 $(BUILD)/tindel $(BINDIR)/tindel
	install -m 755 $(BUILD)/tindel-author $(BINDIR)/tindel-author
	install -m 644 docs/tindel.1 $(MANDIR)/tindel.1
	install -m 644 docs/tindel-author.1 $(MANDIR)/tindel-author.1
	install -m 644 README.md docs/language.md docs/media.md docs/authors.md docs/accessibility.md \
	  $(SHAREDIR)/docs
	install -m 644 examples/README.md examples/*.qst examples/*.walk $(SHAREDIR)/examples
	install -m 644 examples/*.mid examples/*.wav examples/*.jpg $(SHAREDIR)/examples
	if [ -f build-web/site/release-page.js ]; then \
	  install -d $(SHAREDIR)/web && cp -R build-web/site/. $(SHAREDIR)/web/; fi

uninstall:
	rm -f $(BINDIR)/tindel $(BINDIR)/tindel-author $(MANDIR)/tindel.1 $(MANDIR)/tindel-author.1
	rm -rf $(SHAREDIR)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-asan build-bench build-clang build-fuzz build-web

# Whole-process figures of the Release build on generated quests (scripts/bench-e2e).
bench-e2e: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTINDEL_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tindel tindel-author tindel_figure_quests
	scripts/bench-e2e build-bench/tindel build-bench/tindel_figure_quests build-bench/tindel-author
