# The commands a newcomer needs; each installs what is missing first.
.PHONY: all deps build run test test-asan bench fuzz install clean

# `make run` opens a fresh copy of the sample site as a site, so that trying the program never changes
# the repository's own files. SITE=path opens another folder, or one page.
RUN_COPY = build/default/site
SITE ?= $(RUN_COPY)
export QTWEBENGINE_CHROMIUM_FLAGS ?= --disable-gpu
ifeq ($(shell id -u),0)
export QTWEBENGINE_DISABLE_SANDBOX = 1
endif

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	@rm -rf $(RUN_COPY) && cp -R examples/site $(RUN_COPY)
	build/default/src/app/pictor $(SITE)

test: build
	ctest --preset default -j2
	@scripts/fuzz-smoke

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	ctest --preset asan-core -j2
	ctest --preset asan-qt -j2

bench: build
	@for b in build/default/bench/*_bench; do echo "== $$b"; $$b; done

FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@scripts/run-fuzzers $(FUZZ_SECONDS)

install: build
	cmake --install build/default

clean:
	rm -rf build
