# Quillmate: build, test and run. Every target does its own set-up.
#   make build   everything into $(BUILD)/bin
#   make test    build, then all tests under Wine on a private Xvfb display
#   make run     build, then start the editor
# Variables: BUILD=<dir>  COMPONENTS="framework app ..."  TESTS=<ctest regex>  JOBS=<n>
BUILD      ?= build
COMPONENTS ?=
TESTS      ?=
JOBS       ?= $(shell nproc)

ABS_BUILD := $(abspath $(BUILD))
# Compiler-cache hits across clones and worktrees of this tree: paths are
# hashed relative to the clone, not as absolute paths.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
SCRIPTS   := $(CURDIR)/scripts

.PHONY: all build test run setup deps configure bench clean
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

test: build
	@bash $(SCRIPTS)/session.sh $(ABS_BUILD) bash $(SCRIPTS)/run-tests.sh $(ABS_BUILD) $(JOBS) '$(TESTS)'

run: build
	@bash $(SCRIPTS)/run.sh $(ABS_BUILD)

bench: build
	@bash bench/run $(ABS_BUILD)

clean:
	rm -rf $(ABS_BUILD)
