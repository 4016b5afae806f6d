# Front door: `make run` and `make test` install what is missing, build and go.
BUILD      ?= build
TEST_BUILD ?= build-test
PREFIX     ?= $(HOME)/.local
JOBS       ?= $(shell nproc)
TEST_ENV   := TZ=UTC LC_ALL=C.UTF-8 SOURCE_DATE_EPOCH=1040220309
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
# ccache, where the machine has it, makes rebuilds in several checkouts cheap.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths below the checkout are hashed relative to it, so checkouts in other folders share hits.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps build run test lint bench install package fuzz format clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Starts the window; without a display it lists the current folder instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then $(BUILD)/dirscribe; else \
	  echo "No display: listing the current folder. Start the window with $(BUILD)/dirscribe on a desktop."; \
	  $(BUILD)/dirscribe list .; fi

$(TEST_BUILD)/CMakeCache.txt:
	cmake -S . -B $(TEST_BUILD) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug -DDIRSCRIBE_SANITIZE=ON -DBUILD_TESTING=ON

test: deps $(TEST_BUILD)/CMakeCache.txt
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

# The formatting (.clang-format) and the checks of .clang-tidy (bug-prone patterns,
# performance, modern forms, readability, naming) on the test build's compile commands; CI
# runs it after the tests.
lint: deps $(TEST_BUILD)/CMakeCache.txt
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')
	run-clang-tidy -quiet -p $(TEST_BUILD) -j $(JOBS) "$$(pwd)/src/"

# Google Benchmark and GNU time (for peak memory) are needed here only, so they are installed here.
bench: build
	@scripts/install-deps libbenchmark-dev time
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target dirscribe_bench dirscribe_view_bench \
		dirscribe_open_bench dirscribe_search_bench dirscribe_catalogue_make
	bench/run $(BUILD)

# Installs the program, its launcher, the .dsc document type, the icon, the manual page, the
# bash completion and the software centre's metainfo under PREFIX.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if command -v update-mime-database >/dev/null; then \
	  update-mime-database $(PREFIX)/share/mime; fi
	@if command -v update-desktop-database >/dev/null; then \
	  update-desktop-database $(PREFIX)/share/applications; fi

# Builds BUILD/dirscribe_VERSION_ARCH.deb with CPack (dpkg-shlibdeps works out its Depends)
# and checks it with lintian.
package: build
	@scripts/install-deps dpkg-dev file binutils
	cd $(BUILD) && cpack
	lintian --fail-on error,warning $(BUILD)/dirscribe_*.deb

# Runs the document reader's fuzzer, then the profile reader's, the MP3 tag reader's, the
# program version reader's, the File Data dispatch's (audio, photos, video, PDF through
# their libraries), an update's merge of a document, the web page of a document and the
# catalogue's chunk decoder, one after the other, each on a working copy of its seeds; what
# they learn stays in fuzz/corpus-work/ (not committed), crash inputs too. MP3 inputs may pass
# the 4026 bytes searched for frames. The File Data fuzzer runs the media libraries without
# the reader program's 1 GiB limit, so their known large allocations on crafted videos are
# passed over (-ignore_ooms, in a child process) rather than ending the run.
PROFILE_FUZZ_SECONDS ?= 120
MERGE_FUZZ_SECONDS ?= 600
PAGE_FUZZ_SECONDS ?= 600
MEDIA_FUZZ_SECONDS ?= 600
PE_FUZZ_SECONDS ?= 600
FILEDATA_FUZZ_SECONDS ?= 600
CHUNK_FUZZ_SECONDS ?= 300
FUZZ_FLAGS := -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10 -print_final_stats=1 \
	-artifact_prefix=fuzz/corpus-work/

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DDIRSCRIBE_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target docfile_fuzz profile_fuzz media_fuzz pe_fuzz \
		filedata_fuzz merge_fuzz page_fuzz chunk_fuzz
	mkdir -p fuzz/corpus-work/docfile fuzz/corpus-work/profile fuzz/corpus-work/media \
		fuzz/corpus-work/pe fuzz/corpus-work/filedata fuzz/corpus-work/merge fuzz/corpus-work/page \
		fuzz/corpus-work/chunk
	cp fuzz/corpus/docfile/* fuzz/corpus-work/docfile/
	cp fuzz/corpus/profile/* fuzz/corpus-work/profile/
	cp fuzz/corpus/media/* fuzz/corpus-work/media/
	cp fuzz/corpus/pe/* fuzz/corpus-work/pe/
	cp fuzz/corpus/filedata/* fuzz/corpus-work/filedata/
	cp fuzz/corpus/merge/* fuzz/corpus-work/merge/
	cp fuzz/corpus/page/* fuzz/corpus-work/page/
	cp fuzz/corpus/chunk/* fuzz/corpus-work/chunk/
	$(FUZZ_BUILD)/fuzz/docfile_fuzz -max_total_time=$(FUZZ_SECONDS) $(FUZZ_FLAGS) \
		fuzz/corpus-work/docfile
	$(FUZZ_BUILD)/fuzz/profile_fuzz -max_total_time=$(PROFILE_FUZZ_SECONDS) $(FUZZ_FLAGS) \
		fuzz/corpus-work/profile
	$(FUZZ_BUILD)/fuzz/media_fuzz -max_total_time=$(MEDIA_FUZZ_SECONDS) -max_len=10000 \
		$(FUZZ_FLAGS) fuzz/corpus-work/media
	$(FUZZ_BUILD)/fuzz/pe_fuzz -max_total_time=$(PE_FUZZ_SECONDS) -max_len=4096 $(FUZZ_FLAGS) \
		fuzz/corpus-work/pe
	$(FUZZ_BUILD)/fuzz/filedata_fuzz -max_total_time=$(FILEDATA_FUZZ_SECONDS) -max_len=16384 \
		-fork=1 -ignore_ooms=1 $(FUZZ_FLAGS) fuzz/corpus-work/filedata
	$(FUZZ_BUILD)/fuzz/merge_fuzz -max_total_time=$(MERGE_FUZZ_SECONDS) $(FUZZ_FLAGS) \
		fuzz/corpus-work/merge
	$(FUZZ_BUILD)/fuzz/page_fuzz -max_total_time=$(PAGE_FUZZ_SECONDS) $(FUZZ_FLAGS) \
		fuzz/corpus-work/page
	$(FUZZ_BUILD)/fuzz/chunk_fuzz -max_total_time=$(CHUNK_FUZZ_SECONDS) $(FUZZ_FLAGS) \
		fuzz/corpus-work/chunk

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD)
