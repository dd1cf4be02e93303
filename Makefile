# The two commands: `make run` opens the window, `make test` runs every test.
# Each first installs what is missing, then configures and builds.

PRESET ?= debug
WERROR ?= $(if $(CI),ON,OFF)
BUILD_DIR := build/$(PRESET)

.PHONY: run test setup configure build e2e bench fuzz fuzz-replay fuzz-build lint install package validate format clean windows windows-test

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: there is no display to open the window on."; \
		echo "Run it under a virtual display instead:  xvfb-run -a $(BUILD_DIR)/bin/hangar"; \
		exit 1; \
	fi
	$(BUILD_DIR)/bin/hangar

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET)

e2e: build
	tests/e2e/run-e2e.sh $(BUILD_DIR)/bin/hangar

# The benchmarks, in the release build, each printed as a ratio of medians against its floor, all
# run five times in random turns so that a slow spell of the disk falls on floors and figures
# alike; then hangarctl as a whole process against cp and sync. Both run even when the first misses
# its target.
bench:
	@bash scripts/setup.sh bench
	@cmake --preset release -DHANGAR_BENCH=ON -DHANGAR_TESTS=ON -DHANGAR_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release --target hangar_bench hangarctl
	QT_QPA_PLATFORM=offscreen build/release/bin/hangar_bench --benchmark_repetitions=5 \
		--benchmark_enable_random_interleaving=true; first=$$?; \
		bench/cli_load.sh build/release/bin/hangarctl && exit $$first

# The profile-file fuzzer for FUZZ_SECONDS, from the committed seeds; new finds stay in build/fuzz.
# fuzz-replay runs every committed seed and every earlier find once, as CI does.
FUZZ_SECONDS ?= 600
fuzz: fuzz-build
	build/fuzz/bin/fuzz_profile -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
		-print_final_stats=1 build/fuzz/corpus tests/fuzz/corpus

fuzz-replay: fuzz-build
	build/fuzz/bin/fuzz_profile -runs=0 -timeout=10 -rss_limit_mb=2048 build/fuzz/corpus tests/fuzz/corpus

fuzz-build:
	@bash scripts/setup.sh fuzz
	@cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DHANGAR_FUZZ=ON -DHANGAR_WERROR=$(WERROR) >/dev/null
	@cmake --build build/fuzz --target fuzz_profile
	@mkdir -p build/fuzz/corpus

# Installs the window and hangarctl, the desktop entry, icons, metadata, the man page and the
# bash completion under PREFIX.
PREFIX ?= /usr/local
install: setup
	@cmake --preset release -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DHANGAR_TESTS=OFF -DHANGAR_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release
	cmake --install build/release --prefix $(DESTDIR)$(PREFIX)

# A Debian package and a portable archive of the two executables, in build/release; the tests
# are not built for it.
package:
	@bash scripts/setup.sh package
	@cmake --preset release -DCMAKE_INSTALL_PREFIX=/usr -DHANGAR_TESTS=OFF -DHANGAR_WERROR=$(WERROR) >/dev/null
	@cmake --build --preset release
	cd build/release && cpack

# The Windows programs, cross-built with mingw-w64: build/windows/bin/hangar.exe and hangarctl.exe,
# single files, and build/windows/Hangar-<version>-windows-x64.zip. The first run builds a static
# Qt from Debian's source into ~/.cache/hangar (about 40 minutes on two cores); later ones reuse it.
windows:
	@bash scripts/setup.sh windows
	@bash scripts/windows.sh build

# Every test program of the Windows build, under Wine, in a Wine prefix of its own in build/windows.
windows-test:
	@bash scripts/setup.sh windows
	@bash scripts/windows.sh test

validate:
	@bash scripts/setup.sh validate
	desktop-file-validate packaging/org.example.Hangar.desktop
	appstreamcli validate --no-net packaging/org.example.Hangar.metainfo.xml

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake --preset $(PRESET) -DHANGAR_TESTS=ON -DHANGAR_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Static checks of the program's code: clang-tidy with the committed .clang-tidy, cppcheck, and
# the committed .clang-format.
SOURCES_RE := $(CURDIR)/(app|cli|switching|inspection|simulator|settings|platform)/.*\.cpp$$
lint: configure
	@bash scripts/setup.sh lint
	run-clang-tidy -p $(BUILD_DIR) -quiet -j $$(nproc) '$(SOURCES_RE)' >$(BUILD_DIR)/clang-tidy.log 2>&1 \
		|| { grep -E 'error:|warning:' $(BUILD_DIR)/clang-tidy.log; exit 1; }
	cppcheck --library=qt --enable=warning,performance,portability --inline-suppr --error-exitcode=1 \
		--quiet --suppress=missingIncludeSystem --std=c++20 \
		-I platform -I settings -I switching -I inspection -I simulator -I app -I cli app cli switching inspection simulator settings platform
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
