# Quillmate: build, test and run. Every target does its own set-up.
#   make build   everything into $(BUILD)/bin
#   make test    build, then the host checks, then all tests under Wine on a
#                private Xvfb display
#   make check-host  the window-free cores built for this machine under the
#                sanitizers: their table tests and a bounded fuzz run (host/)
#   make run     build, then start the editor
# Variables: BUILD=<dir>  COMPONENTS="framework app ..."  TESTS=<ctest regex>  JOBS=<n>
#            FUZZ_SECONDS=<n> (each fuzz target's run, default 6)
BUILD      ?= build
COMPONENTS ?=
TESTS      ?=
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 6

ABS_BUILD := $(abspath $(BUILD))
# Compiler-cache hits across clones and worktrees of this tree: paths are
# hashed relative to the clone, not as absolute paths.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
SCRIPTS   := $(CURDIR)/scripts

.PHONY: all build test check-host run setup deps configure bench clean
all: build

setup:
	@bash $(SCRIPTS)/setup-host.sh

deps: setup
	@if [ -x third_party/build.sh ]; then JOBS=$(JOBS) bash third_party/build.sh $(ABS_BUILD)/deps; fi

configure: deps
	@mkdir -p $(ABS_BUILD) && cmake -S . -B $(ABS_BUILD) -G Ninja -Wno-dev \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake \
	  -DQM_COMPONENTS="$(COMPONENTS)" >$(ABS_BUILD)/configure.log 2>&1 \
	  || { cat $(ABS_BUILD)/configure.log; exit 1; }

build: configure
	@cmake --build $(ABS_BUILD) -j $(JOBS)

# The host build: clang with AddressSanitizer and UndefinedBehaviorSanitizer
# (host/CMakeLists.txt), in its own folder beside the Windows build.
check-host: setup
	@mkdir -p $(ABS_BUILD)/host && cmake -S host -B $(ABS_BUILD)/host -G Ninja -Wno-dev \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DFUZZ_SECONDS=$(FUZZ_SECONDS) \
	  >$(ABS_BUILD)/host/configure.log 2>&1 || { cat $(ABS_BUILD)/host/configure.log; exit 1; }
	@cmake --build $(ABS_BUILD)/host -j $(JOBS)
	@ctest --test-dir $(ABS_BUILD)/host --output-on-failure -j $(JOBS) $(if $(TESTS),-R '$(TESTS)')

test: build check-host
	@bash $(SCRIPTS)/session.sh $(ABS_BUILD) bash $(SCRIPTS)/run-tests.sh $(ABS_BUILD) $(JOBS) '$(TESTS)'

run: build
	@bash $(SCRIPTS)/run.sh $(ABS_BUILD)

bench: build
	@bash bench/run $(ABS_BUILD)

clean:
	rm -rf $(ABS_BUILD)
