# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds and starts the game
#   make test  installs what is missing, builds and passes every test
BUILD ?= build
SAN_BUILD ?= build-san
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
SERVE_PORT ?= 8090
SERVE_DATA ?= ranking-data
JOBS ?= $(shell nproc)
SAN_CONFIG = -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPELLMORA_SANITIZE=ON \
	-DPELLMORA_DESKTOP=OFF -DPELLMORA_SERVER=OFF
FUZZ_SECONDS ?= 60
MUTATE_BUILD ?= build-mutate
MUTATE_JOBS ?= $(JOBS)
SOAK_TICKS ?= 10000000

.PHONY: all deps build run test test-san clean bench package screenshots pictures fuzz soak soak-short mutate \
	web-deps web web-serve serve

all: build

deps:
	@bash scripts/install-deps.sh

# Line tables only (-g1): backtraces keep their files and lines, and the
# builds of make test take a fifth less time than with full debug info.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-game.sh $(BUILD)

# The web site is built first, so that its scenarios and browser test run too.
test: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-san
	$(MAKE) fuzz FUZZ_SECONDS=20

# The game core, the simulated host and their tests under AddressSanitizer
# and UndefinedBehaviorSanitizer.
test-san: deps
	cmake -S . -B $(SAN_BUILD) $(SAN_CONFIG)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The performance figures with their goals (release build, Xvfb).
bench: deps
	@bash bench/run-bench.sh

# The Debian package, written to $(BUILD)/pellmora_<version>-1_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# The README's screenshots in docs/, drawn by the game under Xvfb.
screenshots: build
	@bash scripts/make-screenshots.sh $(BUILD)

# Draws the game's pictures afresh into assets/*.png with Qt and the IPA
# fonts, after a change to how they are drawn (tools/bake-pictures); the test
# pictures.baked fails until then.
pictures: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target pellmora-bake-pictures
	QT_QPA_PLATFORM=offscreen $(BUILD)/tools/bake-pictures/pellmora-bake-pictures assets

# The score-file reader under libFuzzer for FUZZ_SECONDS, built with clang in
# build-fuzz; a crashing input is kept in build-fuzz/fuzz-artifacts/.
fuzz: deps
	JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZ_SECONDS)

# Mutation testing of game/ and scores/ against the fast native suite, in
# copies of the project under $(MUTATE_BUILD) (the source tree is never
# written); FILES="game/GameTick.cpp ..." runs some files only. The report is
# $(MUTATE_BUILD)/report.md. Not part of make test: a full run takes most of
# an hour.
mutate: deps
	python3 tools/mutate/mutate.py --build $(MUTATE_BUILD) --jobs $(MUTATE_JOBS) --files "$(FILES)"

# The long soak: SOAK_TICKS ticks of autopilot games under AddressSanitizer
# and UndefinedBehaviorSanitizer. Its short run, soak.short, is one of
# test-san's tests.
soak: deps
	cmake -S . -B $(SAN_BUILD) $(SAN_CONFIG)
	cmake --build $(SAN_BUILD) -j $(JOBS) --target pellmora-soak
	$(SAN_BUILD)/tools/soak/pellmora-soak $(SOAK_TICKS)

soak-short: deps
	cmake -S . -B $(SAN_BUILD) $(SAN_CONFIG)
	cmake --build $(SAN_BUILD) -j $(JOBS) --target pellmora-soak
	cd $(SAN_BUILD) && ctest --output-on-failure -R '^soak\.short$$'

# The browser build: a static site in $(WEB_BUILD)/site and pellmora-sim for
# node in $(WEB_BUILD)/pellmora-sim.js, with Debian's Emscripten. The test
# emulator is plain node: emcmake's default passes a flag node 20 rejects.
web-deps: deps
	@bash scripts/install-web-deps.sh

$(WEB_BUILD)/CMakeCache.txt:
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_CROSSCOMPILING_EMULATOR=$$(command -v node)

web: web-deps $(WEB_BUILD)/CMakeCache.txt
	cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the site on loopback only, at http://127.0.0.1:$(WEB_PORT)/.
web-serve: web
	node tools/web-serve/serve.mjs $(WEB_BUILD)/site $(WEB_PORT)

# The world ranking's server with the browser game, on loopback only, at
# http://127.0.0.1:$(SERVE_PORT)/, keeping its games in $(SERVE_DATA)/.
serve: build web
	$(BUILD)/server/pellmora-ranking-server --listen 127.0.0.1:$(SERVE_PORT) \
		--data $(SERVE_DATA) --site $(WEB_BUILD)/site

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(WEB_BUILD) $(MUTATE_BUILD)
