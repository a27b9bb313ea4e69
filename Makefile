# Front door: `make run` and `make test` install what is missing, build and run.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps build build-native build-win32 run test bench dist fuzz clean

all: build

deps:
	@scripts/deps.sh

build-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

build-win32: deps
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$(JOBS)

build: build-native build-win32

run: build-win32
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: deps
	@scripts/bench.sh

dist: build-win32
	@scripts/dist.sh

fuzz: deps
	@scripts/fuzz.sh

clean:
	rm -rf build
