# The three commands of the README: `make run`, `make test` and `make package`.
# Each installs what is missing (Debian 12, apt-get), configures and builds.

BUILD   ?= build
RUNDIR  ?= run
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-svg-dev libqt6svg6 \
           libxlsxwriter-dev pxlib-dev libzip-dev libgtest-dev googletest libbenchmark-dev libsqlite3-dev xvfb xauth fonts-dejavu-core fonts-dejavu-extra \
           fonts-wine qt6-translations-l10n poppler-utils \
           python3 python3-openpyxl \
           postgresql

# Only `make package` needs these: dpkg-shlibdeps and file for CPack's
# dependency search, lintian to check the package, xdotool for the check of
# the unpacked package in CI, appstream to validate the metainfo.
PACKAGE_TOOLS = dpkg-dev file lintian xdotool appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps package-deps build package clean bench pricelist

deps: PACKAGE_LIST = $(PACKAGES)
package-deps: PACKAGE_LIST = $(PACKAGES) $(PACKAGE_TOOLS)
deps package-deps:
	@missing=$$(for p in $(PACKAGE_LIST); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

# ccache, where the machine has it, makes the second and later builds quick.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@mkdir -p $(RUNDIR)
	@if [ -f $(BUILD)/zeni.db ] && [ ! -f $(RUNDIR)/zeni.db ]; then \
	    cp $(BUILD)/zeni.db $(RUNDIR)/zeni.db && echo "Copied the delivered price table to $(RUNDIR)/zeni.db"; fi
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display found: starting LIRComplect under xvfb-run (virtual screen 1280x1024)."; \
	    cd $(RUNDIR) && xvfb-run -a -s "-screen 0 1280x1024x24" ../$(BUILD)/LIRComplect; \
	else \
	    cd $(RUNDIR) && ../$(BUILD)/LIRComplect; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# lircomplect_<version>_amd64.deb in $(BUILD)/package/, checked by lintian
# (its errors fail the target; warnings are printed).
package: package-deps build
	rm -f $(BUILD)/package/lircomplect_*.deb
	cd $(BUILD) && cpack -G DEB
	@# The metainfo's warnings are printed; an error fails the target.
	appstreamcli validate --no-net --explain $(BUILD)/packaging/lircomplect.metainfo.xml > $(BUILD)/package/appstream.txt || true
	@cat $(BUILD)/package/appstream.txt; ! grep -q '^E:' $(BUILD)/package/appstream.txt
	lintian --fail-on error --info $(BUILD)/package/lircomplect_*.deb
	@ls -l $(BUILD)/package/lircomplect_*.deb

# Regenerates data/zeni.csv from the calculators after a change of the kit rules.
pricelist: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target pricelist

bench: build
	@for b in $(BUILD)/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
