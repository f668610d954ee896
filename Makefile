# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds and starts the game
#   make test  installs what is missing, builds and passes every test
BUILD ?= build
SAN_BUILD ?= build-san
JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-san clean bench

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-game.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-san

# The game core, the simulated host and their tests under AddressSanitizer
# and UndefinedBehaviorSanitizer.
test-san: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DPELLMORA_SANITIZE=ON -DPELLMORA_DESKTOP=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
