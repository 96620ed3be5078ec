# make run   installs what is missing, builds, makes the demo database, starts Corvella
# make test  installs what is missing, builds, runs every test through CTest
# make bench installs what is missing, builds the benchmarks in a Release tree; then run
#            one of them, e.g. build-bench/bench/bench_school

BUILD ?= build
JOBS ?= $(shell nproc)
DEB_PACKAGES = cmake g++ make pkg-config ccache qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite \
               libgl-dev libsqlite3-dev libsodium-dev fonts-dejavu-core poppler-utils sqlite3 \
               desktop-file-utils appstream man-db dpkg-dev postgresql libpq-dev
DEMO_DB = $(BUILD)/bin/Database/Corvella.mdb
# Lets ccache reuse objects across clones of the tree.
export CCACHE_BASEDIR := $(CURDIR)
# Debug info would otherwise tie every object to the folder it was built in.
export CCACHE_NOHASHDIR := 1

.PHONY: deps configure build demo run tamberlin test bench package clean

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	@test -f $(DEMO_DB) || $(BUILD)/bin/corvella-admin create --demo $(DEMO_DB)

run: demo
	$(BUILD)/bin/corvella

tamberlin: demo
	$(BUILD)/bin/tamberlin

# The tests' build treats every compiler warning as an error.
test: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVELLA_WERROR=ON
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Only the benchmarks and the libraries they link, not the programs and tests.
bench: DEB_PACKAGES += libbenchmark-dev
bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DCORVELLA_BENCH=ON
	cmake --build $(BUILD)-bench -j$(JOBS) --target benchmarks

# A Debian package of the three programs, installed under /usr (dpkg-shlibdeps finds its dependencies).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(BUILD)-bench
