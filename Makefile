# make run    set up what is missing, build, start Kestrel under Wine
# make test   set up what is missing, build, run every test (private Xvfb)
# make fuzz   run every fuzz target, in parallel, for FUZZ_SECONDS (default 60)
#             or, with FUZZ_EXECS set, to that many executions each
# make bench  run the benchmarks under Wine
# make oracle compare compiled formulas with the interpreter on ORACLE_FORMULAS

BUILD := build
HOST := build/host
FUZZ_SECONDS ?= 60
ORACLE_FORMULAS ?= 2000000
FUZZ_EXECS ?=

.PHONY: all setup build host test run fuzz bench oracle clean

all: build

setup:
	@tools/setup

build: setup
	@tools/timed "configure (Windows)" sh -c '[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null'
	@tools/timed "build (Windows)" cmake --build $(BUILD)

host: setup
	@tools/timed "configure (host)" sh -c '[ -f $(HOST)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(HOST) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null'
	@tools/timed "build (host)" cmake --build $(HOST)

test: build host
	@tools/timed "tests" tools/run-tests $(BUILD) $(HOST)

run: build
	@tools/run-kestrel $(BUILD)

fuzz: host
	@tools/fuzz $(HOST) $(FUZZ_SECONDS) $(FUZZ_EXECS)

bench: build
	@tools/wine-prefix $(CURDIR)/$(BUILD)/wineprefix test
	@rm -f $(BUILD)/bench.log; failed=0; \
	for b in $(BUILD)/bin/*_bench.exe; do echo "== $$b" | tee -a $(BUILD)/bench.log; \
	  WINEPREFIX=$(CURDIR)/$(BUILD)/wineprefix tools/wine-run $$b > $(BUILD)/bench.one 2>&1 || failed=1; \
	  cat $(BUILD)/bench.one | tee -a $(BUILD)/bench.log; done; \
	echo; echo "Summary: our throughput / the baseline's (above 1 = ours faster)"; \
	grep '^ratio|' $(BUILD)/bench.log | cut -c7-; \
	if [ $$failed -ne 0 ]; then echo "a benchmark failed (see MISMATCH or failed above)"; exit 1; fi

oracle: build
	@tools/wine-prefix $(CURDIR)/$(BUILD)/wineprefix test
	@FORMULA_ORACLE_FORMULAS=$(ORACLE_FORMULAS) WINEPREFIX=$(CURDIR)/$(BUILD)/wineprefix tools/wine-run $(BUILD)/bin/filters_tests.exe --gtest_filter='FormulaOracle.*'

clean:
	rm -rf $(BUILD)
