# Front door: `make run` and `make test` install what is missing, build and run.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all deps build build-native build-win32 build-win64 run test bench dist fuzz clean

all: build

deps:
	@scripts/deps.sh

build-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

build-win32: deps
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$(JOBS)

# The product is the 32-bit program; the 64-bit build runs the same tests where wine32 cannot.
build-win64: deps
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j$(JOBS)

build: build-native build-win32 build-win64

# Builds and starts the program this machine can run (run.sh says which).
run: deps
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: deps
	@scripts/bench.sh

dist: build-win32 build-win64
	@scripts/dist.sh

fuzz: deps
	@scripts/fuzz.sh

clean:
	rm -rf build
