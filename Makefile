# The two commands of the README, plus the ones developers use.
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= all
FUZZ_TARGETS := decode_fuzz round_trip_fuzz archive_fuzz archive_update_fuzz \
  upgrade_header_fuzz startup_files_fuzz config_sys_fuzz ignore_list_fuzz machine_json_fuzz \
  optimal_round_trip_fuzz

DEMO_MACHINE := build/demo-machine
DEMO_TREE := build/demo-tree
DEMO_PACKAGE := build/demo-package
QVSIM := build/default/tools/qvsim/qvsim
QVPKG := build/default/tools/qvpkg/qvpkg

.PHONY: demo test bootstrap build tools build-asan win32 windows98 bench fuzz format clean compilers gcc-release clang-test

# An upgrade package (a new scope application, calibration and set-up files,
# a readme at the root) built, installed on a fresh simulated instrument and
# booted until the scope application runs: the first boot installs it and
# restarts, the second starts the new application. Both transcripts are
# printed, then the pictures; the second picture is the status box while
# the files are copied (a picture is taken when a status box shows its
# first progress: the expansion's, then the copy's).
demo: tools
	rm -rf $(DEMO_MACHINE) $(DEMO_TREE) $(DEMO_PACKAGE)
	mkdir -p $(DEMO_TREE)/scope/bin $(DEMO_TREE)/scope/cal $(DEMO_TREE)/scope/setups
	printf 'scope application, revision A.03.01\r\n' >$(DEMO_TREE)/scope/bin/qv7311x.exe
	seq -f 'gain %g 1.0001' 1 2000 >$(DEMO_TREE)/scope/cal/gain.cal
	seq -f 'offset %g 0.002' 1 2000 >$(DEMO_TREE)/scope/cal/offset.cal
	printf 'timebase=1ms\r\nchannels=1,2\r\n' >$(DEMO_TREE)/scope/setups/default.set
	printf 'Revision A.03.01 of the scope application.\r\n' >$(DEMO_TREE)/readme.txt
	$(QVPKG) build $(DEMO_TREE) --part-number QV7310-62001 -o $(DEMO_PACKAGE)
	$(QVPKG) inspect $(DEMO_PACKAGE)
	$(QVSIM) new $(DEMO_MACHINE)
	$(QVPKG) install $(DEMO_PACKAGE) $(DEMO_MACHINE)
	$(QVSIM) run $(DEMO_MACHINE)
	@echo "the status box while files are copied: $(DEMO_MACHINE)/state/screen-002.png"

test: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default
	ctest --preset default
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

bootstrap:
	@./scripts/bootstrap.sh

# The other compilers' builds that CI runs after `test`, so that neither a
# user's plain Release build with GCC nor the Clang build of the fuzzers
# breaks again, nor the instrument's executables. Warnings are errors here
# as in the presets. The GCC build compiles file by file without
# precompiled headers, so that a missing include shows.
compilers: gcc-release clang-test windows98

gcc-release: bootstrap
	cmake -S . -B build/gcc-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_COMPILER=g++ -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	  -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
	cmake --build build/gcc-release

clang-test: bootstrap
	cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DQV_BENCH=OFF >/dev/null
	cmake --build build/clang
	ctest --test-dir build/clang --output-on-failure -j 2

build: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default

# The three command-line programs alone, without the tests and benchmarks.
tools: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default --target arq qvsim qvpkg

# The Windows executables for the instrument: build/win32 (the loader) and
# build/win32-arq (arq.exe, which needs a thread model with std::thread).
# --fresh: a build/win32 made before the loader took the win32 thread model
# would keep the compiler it found first.
win32: bootstrap
	cmake --preset win32 --fresh >/dev/null
	cmake --build --preset win32
	cmake --preset win32-arq >/dev/null
	cmake --build --preset win32-arq

# The instrument's executables (make win32) import only what Windows 98
# provides: their import tables against tests/wine/windows98_imports.txt,
# of whose exceptions the loader may use none.
windows98: win32
	cmake -DOBJDUMP=i686-w64-mingw32-objdump -DALLOWED=tests/wine/windows98_imports.txt \
	  -DPROGRAMS=build/win32/src/loader/qv731Ldr.exe,build/win32-arq/tools/arq/arq.exe \
	  -DSTRICT=build/win32/src/loader/qv731Ldr.exe -P cmake/check_imports.cmake

bench: build
	./bench/compare.sh

# Every target (or FUZZ_TARGET=name) for FUZZ_SECONDS each, one after another.
fuzz: bootstrap
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target $(if $(filter all,$(FUZZ_TARGET)),fuzz_all,$(FUZZ_TARGET))
	./fuzz/run.sh $(FUZZ_SECONDS) $(if $(filter all,$(FUZZ_TARGET)),$(FUZZ_TARGETS),$(FUZZ_TARGET))

format:
	git ls-files '*.h' '*.cc' | xargs clang-format -i

clean:
	rm -rf build
