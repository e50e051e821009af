# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the program
#   make test  installs what is missing, builds, runs every test
# and for putting the program on the machine:
#   make install [PREFIX=/usr/local] [DESTDIR=...]   (sudo for /usr/local)
#   make uninstall                   removes what the last install put there
#   make package                     a Debian package in $(BUILD)/
BUILD  ?= build
JOBS   ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: run test build deps configure bench clean install uninstall package

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/vivizu

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	@xargs -rd '\n' rm -fv < $(BUILD)/install_manifest.txt
	@sed -n 's|/bin/vivizu-cli$$||p' $(BUILD)/install_manifest.txt | while read -r p; do \
	  find "$$p/share/vivizu" "$$p/lib/vivizu" "$$p/share/doc/vivizu" -depth -type d \
	    -empty -delete 2>/dev/null || true; done

package: build
	@cd $(BUILD) && cpack -G DEB

bench: build
	@bash bench/run.sh $(BUILD)
	@bash bench/overview.sh $(BUILD)
	@bash bench/decode.sh $(BUILD)
	@bash bench/volume.sh $(BUILD)
	@bash bench/memory.sh $(BUILD)
	@bash bench/onepass.sh $(BUILD)

clean:
	@rm -rf $(BUILD)
