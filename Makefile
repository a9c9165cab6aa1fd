# Entry points; README.md describes them. Each installs what is missing first.
# ARCH picks the Windows build that `make run` starts: x64 (default) or x86.
.PHONY: all dist test run fuzz bench deps clean
ARCH ?= x64

all dist: deps
	cmake --preset windows-x64 >/dev/null
	cmake --build --preset windows-x64 -j $$(nproc) --target dist
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $$(nproc) --target dist

deps:
	@scripts/install-deps.sh

test: deps
	scripts/run-tests.sh

run: dist
	LANGUAGE=$(LANGUAGE) scripts/run-saver.sh $(ARCH) $(ARGS)

fuzz: deps
	scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: deps
	scripts/run-bench.sh

clean:
	rm -rf build dist out
