# Velmora: `make run` builds and starts the program, `make test` builds and runs every test.
JOBS ?= $(shell nproc)
ARGS ?=
PREFIX ?= /usr/local
BUILD := build
ASAN := build-asan
FUZZ := build-fuzz
CMAKE_GEN := -G Ninja
# CI (CI=true, as `.ci/run` runs) turns every compiler warning into an error.
WERROR := $(if $(filter true,$(CI)),-DVELMORA_WERROR=ON,)

.PHONY: all deps build run install test test-main test-asan test-fuzz lint bench clean format

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/velmora $(ARGS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test: deps
	$(MAKE) --no-print-directory lint test-main test-asan test-fuzz

# Formatting of every file, clang-tidy on the lines changed since the previous commit.
lint: $(BUILD)/build.ninja
	sh scripts/lint.sh $(BUILD)

test-main: $(BUILD)/build.ninja
	$(if $(WERROR),cmake -S . -B $(BUILD) $(WERROR))
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --timeout 300

# Core and widget tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_UI=ON -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF $(WERROR)
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest -j $(JOBS) --output-on-failure --timeout 300

test-fuzz:
	@if command -v clang++ >/dev/null 2>&1; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON && \
	  cmake --build $(FUZZ) -j $(JOBS) && \
	  cd $(FUZZ) && ctest -L fuzz --output-on-failure --timeout 120; \
	else echo "test-fuzz: clang++ not found, fuzz targets skipped"; fi

bench: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b --benchmark_counters_tabular=true || exit 1; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
