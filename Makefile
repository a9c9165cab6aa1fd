# Entry points; README.md describes them. Each installs what is missing first.
.PHONY: all dist test run fuzz bench deps clean

all dist: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $$(nproc) --target dist

deps:
	@scripts/install-deps.sh

test: deps
	scripts/run-tests.sh

run: dist
	LANGUAGE=$(LANGUAGE) scripts/run-saver.sh $(ARGS)

fuzz: deps
	scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: deps
	scripts/run-bench.sh

clean:
	rm -rf build dist out
