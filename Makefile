# The two commands of the README, plus the ones developers use.
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= decode_fuzz

DEMO_MACHINE := build/demo-machine
QVSIM := build/default/tools/qvsim/qvsim

.PHONY: demo test bootstrap build build-asan bench fuzz format clean

# A fresh simulated instrument, booted once: its transcript, then where the
# picture of its screen lies.
demo: build
	rm -rf $(DEMO_MACHINE)
	$(QVSIM) new $(DEMO_MACHINE)
	$(QVSIM) boot $(DEMO_MACHINE)

test: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default
	ctest --preset default
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

bootstrap:
	@./scripts/bootstrap.sh

build: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default

bench: build
	./bench/compare.sh

fuzz: bootstrap
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target $(FUZZ_TARGET)
	mkdir -p build/fuzz/corpus-$(FUZZ_TARGET)
	./build/fuzz/fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) build/fuzz/corpus-$(FUZZ_TARGET) \
	  $(wildcard fuzz/seeds/$(FUZZ_TARGET))

format:
	git ls-files '*.h' '*.cc' | xargs clang-format -i

clean:
	rm -rf build
