# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-sanitize
GAME       ?= $(BUILD)/games/demo
JOBS       ?= 2
# Warnings stop the build where we check it (make test, CI), not for a packager's compiler.
WERROR     ?= OFF

.PHONY: deps build run test test-sanitize bench fuzz package dist clean

deps:
	@scripts/install-deps.sh

# The developer's build: everything, the benchmark included (make deps brought its packages).
build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVOX_BENCH=ON -DKELVOX_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# In a window with a display; without one, the demo's scripted play-through, headless.
run: build
	@scripts/run-demo.sh $(BUILD) $(GAME)

test: WERROR = ON
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVOX_SANITIZE=ON -DKELVOX_BENCH=OFF -DKELVOX_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/kelvox-bench

fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKELVOX_FUZZ=ON -DKELVOX_BENCH=OFF -DKELVOX_WERROR=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz-vm fuzz-installer-config fuzz-images image-fuzz-seeds fuzz-wav fuzz-midi fuzz-save fuzz-save-state fuzz-save-stacks fuzz-save-sys fuzz-save-bmp fuzz-track fuzz-cue fuzz-iso

# A Debian package of the programs and the demo, made from the build tree by CPack.
package: build
	cd $(BUILD) && cpack -G DEB

# dist/: the demo game as a game ships, with its installer and setup file.
dist: build
	@scripts/make-dist.sh $(BUILD) dist

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz dist
