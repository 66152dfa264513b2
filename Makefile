# The two set-up commands: `make run` and `make test`. Each installs what it needs first.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CLI := build/native/layoutpress/cli/layoutpress-cli

.PHONY: oracle oracle-generated oracle-answers run run-practice test bench bench-gui compare deps-bench deps-native deps-windows deps-wine native sanitize win32 win64 clean
.PHONY: dist deps-release

# The batch converter on the bundled example, then the converter's window under Wine.
# `make run PROGRAM=practice` starts the practice program instead (the same as run-practice).
PROGRAM ?= converter
run: native win64 deps-wine
ifeq ($(PROGRAM),practice)
	@tallydrill/practice/show-practice.sh run build/win64
else
	@tools/run-example.sh $(CLI)
	@layoutpress/shell/show-under-wine.sh run build/win64
endif

# The practice program under Wine, in a folder with data/bp.bmp and the sample pack.
run-practice: native win64 deps-wine
	@tallydrill/practice/show-practice.sh run build/win64

test: native sanitize win32 win64 deps-wine fuzz-build dist
	@tools/check-imports.sh $(wildcard build/win32/*/*/*.exe build/win64/*/*/*.exe)
	tools/release/release_test.sh dist build
	fuzz/run-fuzzers.sh check build/fuzz
	ctest --preset native -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	# GUI cases can lose the focus to a neighbour on a loaded machine: a case that fails is run
	# once more, and fails the run only when it fails again.
	ctest --preset win64 -j $(JOBS) --repeat until-pass:2 </dev/null
	# The same suite on the 32-bit build (the deliverables), under Wine 10 in WoW64 mode in a
	# Debian 13 tree that tools/wow64/tree.sh makes once outside the repository. It needs root or
	# sudo, and a kernel that runs 32-bit code; without them it says so, and the run goes on.
	@echo "tools/wow64/tree.sh around -- ctest --preset win32 -j $(JOBS) --repeat until-pass:2"
	@status=0; tools/wow64/tree.sh around -- \
	    ctest --preset win32 -j $(JOBS) --repeat until-pass:2 </dev/null || status=$$?; \
	if [ $$status -eq 77 ]; then \
	    echo "make test: the 32-bit Windows suite was NOT run (the reason is above)."; \
	elif [ $$status -ne 0 ]; then exit $$status; fi
	@tools/test-share.sh

# The release (a maintainer's target): the two Windows zips and the Debian package of the
# command-line tools, in dist/. The same commit gives the same bytes.
DIST_PROGRAMS := layoutpress tallydrill layoutpress-cli tallydrill-cli
# The Debian package's tools are built with Debian's flags, every hardening option on.
DEB_FLAGS := DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
dist: deps-windows deps-release
	@cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS) --target $(DIST_PROGRAMS)
	@cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS) --target $(DIST_PROGRAMS)
	@cmake --preset deb >/dev/null \
	    -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CXXFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	cmake --build --preset deb -j $(JOBS)
	tools/release/dist.sh dist build/win32 build/win64 build/deb

deps-release:
	@tools/install-deps.sh native release

# The engines' benchmarks, and the comparison with the tools a user would otherwise pick, on a
# Release build of their own.
bench: deps-bench
	@cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPROJECT_TESTS=OFF -DPROJECT_BENCH=ON >/dev/null
	cmake --build build/bench -j $(JOBS) --target engines_bench hand_score_bench
	build/bench/bench/engines_bench
	build/bench/bench/hand_score_bench

# The time of F5 and F6 in the window on full default buffers, under Wine: figures, not a test.
bench-gui: deps-windows deps-wine
	@cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS) --target layoutpress_gui_timing wine_keepalive
	layoutpress/shell/time-under-wine.sh build/win64

compare: deps-bench
	@cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPROJECT_TESTS=OFF -DPROJECT_BENCH=ON >/dev/null
	cmake --build build/bench -j $(JOBS) --target layoutpress-cli charconv_peer
	tools/compare/compare.sh build/bench

deps-bench:
	@tools/install-deps.sh native bench

deps-native:
	@tools/install-deps.sh native

deps-windows:
	@tools/install-deps.sh native windows

deps-wine:
	@tools/install-deps.sh wine

native: deps-native
	@cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

sanitize: deps-native
	@cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize -j $(JOBS)

win32: deps-windows
	@cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

win64: deps-windows
	@cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j $(JOBS)

# The fuzz harnesses, one at a time, each for SECONDS (make fuzz SECONDS=600); what they find is
# merged into fuzz/corpus/. make test runs them briefly over that corpus.
.PHONY: fuzz fuzz-build fuzz-coverage deps-fuzz
SECONDS ?= 60
fuzz: fuzz-build
	fuzz/run-fuzzers.sh run build/fuzz $(SECONDS)

# Line and branch coverage of each engine by its harness's corpus (a build of its own).
fuzz-coverage: deps-fuzz
	@tools/install-deps.sh coverage
	fuzz/coverage.sh

fuzz-build: deps-fuzz
	@cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

deps-fuzz:
	@tools/install-deps.sh native fuzz

# The share of deliberate engine faults the native suite catches (tools/mutate.py, on a copy of
# the tree in build/mutate): MUTANTS faults drawn from SEED; the same seed tries the same faults.
.PHONY: mutate test-coverage
SEED ?= 12
MUTANTS ?= 100
mutate:
	@tools/install-deps.sh native mutate
	nice tools/mutate.py --seed $(SEED) --count $(MUTANTS)

# Line and branch coverage of the engine sources by the native suite (a build of its own).
test-coverage: deps-fuzz
	@tools/install-deps.sh coverage
	nice tools/test-coverage.sh

clean:
	rm -rf build dist

# The live comparison of the hand scorer with the independent scorer @kobalab/majiang-core
# (installed by npm into ORACLE_DIR, outside the repository): the authored pack, the targeted
# hands of tools/oracle/targeted_hands.txt, the question files under ORACLE_QUESTIONS (a folder,
# when given) and ORACLE_HANDS dealt hands.
ORACLE_DIR ?= build/oracle
ORACLE_HANDS ?= 20000
ORACLE_SEED ?= 13
oracle: native
	@tools/oracle/install.sh $(ORACLE_DIR)
	ORACLE_QUESTIONS=$(ORACLE_QUESTIONS) \
	    tools/oracle/compare.sh build/native $(ORACLE_DIR) $(ORACLE_HANDS) $(ORACLE_SEED)

# The same comparison on questions as a learner gets them: 4,000 generated at each level (20,000).
oracle-generated: native
	@tools/oracle/install.sh $(ORACLE_DIR)
	rm -rf build/oracle-bank
	for level in basic fu limits yakuman all; do \
	    build/native/tallydrill/cli/tallydrill-cli generate --count 4000 --seed $(ORACLE_SEED) \
	        --level $$level --out build/oracle-bank/$$level || exit 1; \
	done
	ORACLE_QUESTIONS=build/oracle-bank \
	    tools/oracle/compare.sh build/native $(ORACLE_DIR) 0 $(ORACLE_SEED)

# Records the fixture make test compares with: the pack, the targeted hands and 2400 hands dealt
# with seed 2026, each with the oracle's answer (only when every hand agrees is it worth keeping).
oracle-answers: native
	@tools/oracle/install.sh $(ORACLE_DIR)
	tools/oracle/compare.sh build/native $(ORACLE_DIR) 2400 2026 \
	    --fixture tallydrill/scoring/oracle_answers.txt --fixture-count 2500
