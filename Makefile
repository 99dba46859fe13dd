# The two commands of the README, and the rest of the developer's loop.
#   make run    installs what is missing, builds, lays out the program folder and starts the client
#               there against the scripted game server on loopback (Ctrl-C ends it)
#   make test   installs what is missing, builds with ASan + UBSan, runs every test, smoke-runs the fuzzers

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 5
CMAKE ?= cmake
BUILD ?= build

.PHONY: all deps run run-session measure release test asan fuzz tsan bench clean

all: release

deps:
	@scripts/install-deps

release: deps
	$(CMAKE) -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release -DTVK_BUILD_TESTS=OFF >/dev/null
	$(CMAKE) --build $(BUILD)/release -j $(JOBS)

# One session at a time in the program folder: a second `make run` refuses at once, before it
# builds or lays out anything.
run:
	@scripts/session-lock $(BUILD)/program $(MAKE) --no-print-directory run-session

run-session: release
	scripts/layout-program-folder $(BUILD)/release $(BUILD)/program
	scripts/run-client $(BUILD)/program

# The client's processor and memory use while it starts and while it stands idle, under Xvfb.
measure: release
	scripts/layout-program-folder $(BUILD)/release $(BUILD)/program
	scripts/measure-client $(BUILD)/program

asan: deps
	$(CMAKE) -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DTVK_SANITIZE=address >/dev/null
	$(CMAKE) --build $(BUILD)/asan -j $(JOBS)

# Leak reports from system libraries behind SDL2 are suppressed; ours are not.
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

test: asan
	cd $(BUILD)/asan && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz

fuzz: deps
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(BUILD)/fuzz -DCMAKE_BUILD_TYPE=Debug -DTVK_FUZZ=ON >/dev/null
	$(CMAKE) --build $(BUILD)/fuzz -j $(JOBS)
	scripts/run-fuzzers $(BUILD)/fuzz $(FUZZ_SECONDS)

tsan: deps
	$(CMAKE) -S . -B $(BUILD)/tsan -DCMAKE_BUILD_TYPE=Debug -DTVK_SANITIZE=thread >/dev/null
	$(CMAKE) --build $(BUILD)/tsan -j $(JOBS)
	cd $(BUILD)/tsan && ctest --output-on-failure -j $(JOBS) -L thread

bench: deps
	$(CMAKE) -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DTVK_BUILD_TESTS=OFF -DTVK_BUILD_BENCH=ON >/dev/null
	$(CMAKE) --build $(BUILD)/bench -j $(JOBS)
	@for b in $(BUILD)/bench/bench/bench_*; do echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf $(BUILD)
