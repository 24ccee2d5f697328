# KORVEX: two commands do everything on a fresh Debian machine.
#   make run    build, lay out the demo installation and start the program in this terminal
#   make check  build (with AddressSanitizer and UBSan) and run every test
#   make lint   static analysis of src/ (cppcheck, clang-tidy); not part of check

PACKAGES      := cmake g++ make libgtest-dev tmux faketime
FUZZ_PACKAGES := clang libclang-rt-dev
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
BUILD    ?= build
CHECKDIR ?= build-check
ID       ?= 1

.PHONY: run check build deps fuzz-deps bench clean

# Installs the Debian packages of $(1) that are missing.
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -q && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

fuzz-deps: deps
	$(call install_missing,$(FUZZ_PACKAGES))

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_TESTS=OFF >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# When the demo's first company has signing on, the stand-in signing server serves its exchange
# folder in the background for as long as any workstation of the demo runs (the first to start
# starts it, it ends after the last; its log: SIGNSRV.LOG in the demo folder). The sends start the
# stand-in customs client in place of java (it records what it got in drives/c/jicis).
run: build
	sh tools/rundemo.sh $(BUILD) $(ID)

check: deps
	cmake -S . -B $(CHECKDIR) -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON -DKORVEX_TESTS=ON >/dev/null
	cmake --build $(CHECKDIR) -j $(JOBS)
	cd $(CHECKDIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKORVEX_TESTS=OFF -DKORVEX_BENCH=ON >/dev/null
	cmake --build build-bench -j $(JOBS)
	cd build-bench && ./korvex_bench

clean:
	rm -rf $(BUILD) $(CHECKDIR) build-bench build-fuzz

# Fuzz targets (clang, libFuzzer, AddressSanitizer): one per fuzz/<name>.cpp, each run for
# FUZZ_SECONDS on a copy of its seed corpus tests/fuzz-corpus/<name>/. (`make check` only replays
# the seed corpora, through the sanitizer build.)
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: fuzz-deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	@for f in fuzz/*.cpp; do n=$$(basename $$f .cpp); echo "== fuzz $$n ($(FUZZ_SECONDS) s)"; \
	  sh tests/helpers/fuzzrun.sh build-fuzz/fuzz_$$n tests/fuzz-corpus/$$n build-fuzz/work/$$n $(FUZZ_SECONDS) || exit 1; \
	done

# Static analysis of src/ with the checks that have found real faults here: cppcheck's warnings
# and clang-tidy's analyzer and bugprone checks, less the bugprone checks that only flag style.
# Uses the compile commands of a configure-only folder; nothing is built.
LINTDIR    ?= build-lint
LINT_TIDY  := -*,clang-analyzer-*,bugprone-*,-bugprone-easily-swappable-parameters,-bugprone-narrowing-conversions,-bugprone-implicit-widening-of-multiplication-result,-bugprone-branch-clone,-bugprone-reserved-identifier,-bugprone-misplaced-widening-cast
.PHONY: lint
lint:
	@for p in cppcheck clang-tidy; do command -v $$p >/dev/null || { echo "lint needs $$p (apt-get install cppcheck clang-tidy)"; exit 1; }; done
	cmake -S . -B $(LINTDIR) -DCMAKE_BUILD_TYPE=Debug -DKORVEX_TESTS=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
	cppcheck --project=$(LINTDIR)/compile_commands.json --file-filter='src/*' --enable=warning,portability \
	  --std=c++20 --inline-suppr --quiet -j $(JOBS) --error-exitcode=1
	run-clang-tidy -p $(LINTDIR) -j $(JOBS) -quiet -checks='$(LINT_TIDY)' '$(CURDIR)/src/'
