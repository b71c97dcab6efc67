# Two targets do all the set-up: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build program play test bench bench-e2e asan format clean

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

play: program
	cd examples && ../$(BUILD)/tindel 0 w stackle.qst

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTINDEL_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tindel_bench
	./build-bench/bench/tindel_bench

asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTINDEL_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-asan build-bench

# Whole-process figures of the Release build on generated quests (scripts/bench-e2e).
bench-e2e: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTINDEL_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tindel tindel_figure_quests
	scripts/bench-e2e build-bench/tindel build-bench/tindel_figure_quests
