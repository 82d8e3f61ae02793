#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and builds the examples against it as a
# user would: once as a CMake project with find_package(brimlox), once with the compiler and
# pkg-config alone. Each program then runs headless and must print what its handlers did.
# Last, a project that adds the source tree with add_subdirectory must configure.
# Usage: install_examples_test.sh BUILD_DIR SOURCE_DIR PROJECT_VERSION SANITIZE(ON|OFF)
set -euo pipefail
build="$1" source="$2" version="$3" sanitize="$4"
if [[ "$sanitize" == ON ]]; then
    # The sanitizer build's libraries need the sanitizer runtime in every program that links
    # them; the plain build runs this test for the install itself.
    echo "skipped: the installed libraries of a sanitizer build are not for linking user programs"
    exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
pc="$(find "$prefix" -name brimlox.pc | head -n1)"
[[ -n "$pc" ]] || fail "no brimlox.pc installed"
libdir="$(dirname "$(dirname "$pc")")"
export PKG_CONFIG_PATH="$(dirname "$pc")"
[[ "$(pkg-config --modversion brimlox)" == "$version" ]] || fail "pkg-config version is not $version"
if [[ -e "$libdir/libbrimlox.so" ]]; then
    soname="$(readelf -d "$libdir/libbrimlox.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')"
    [[ "$soname" == "libbrimlox.so.${version%.*}" ]] || fail "libbrimlox.so has SONAME '$soname'"
fi
"$prefix/bin/brimlox" --version | grep -qx "brimlox $version" || fail "installed brimlox --version"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source/examples" -B "$work/with-cmake" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$work/with-cmake" -j2 >/dev/null

mkdir -p "$work/with-pkg-config"
compile() {
    ${CXX:-c++} -std=c++20 -O0 "$source/examples/$1.cpp" -o "$work/with-pkg-config/$2" \
        $(pkg-config --cflags --libs brimlox) -Wl,-rpath,"$libdir"
}
pids=()
compile first_form brimlox-first-form & pids+=($!)
compile controls_in_code brimlox-example-controls & pids+=($!)
compile form_from_file brimlox-example-form-file & pids+=($!)
compile custom_control brimlox-example-custom & pids+=($!)
for pid in "${pids[@]}"; do wait "$pid" || fail "building with pkg-config"; done

# Runs one program headless in its own folder and checks a line of its output.
expect() {
    local dir="$1" program="$2" line="$3"; shift 3
    mkdir -p "$dir/run-$program"
    local out
    out="$(cd "$dir/run-$program" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy "$dir/$program" "$@")" ||
        fail "$dir/$program exited with $?"
    grep -qF -- "$line" <<<"$out" || fail "$dir/$program did not print '$line':"$'\n'"$out"
}
for dir in "$work/with-cmake" "$work/with-pkg-config"; do
    expect "$dir" brimlox-example-controls "Volume: 40"
    expect "$dir" brimlox-example-controls "Volume: 0"
    expect "$dir" brimlox-example-form-file "Volume: 25" "$source/examples/volume.json"
    expect "$dir" brimlox-example-form-file "Volume: 0" "$source/examples/volume.json"
    expect "$dir" brimlox-example-custom '"type": "Swatch"'
    expect "$dir" brimlox-example-custom '"Color": 49152'
    expect "$dir" brimlox-first-form ""
    [[ -s "$dir/run-brimlox-first-form/hello.json" ]] || fail "$dir/brimlox-first-form wrote no hello.json"
done
# As a subproject the tree gives the libraries alone: no programs, and no GoogleTest needed.
mkdir -p "$work/parent"
cat > "$work/parent/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(parent LANGUAGES CXX)
add_subdirectory("$source" brimlox)
if(NOT TARGET Brimlox::Brimlox OR NOT TARGET Brimlox::Platform OR TARGET brimlox-gallery OR TARGET brimlox_tests)
    message(FATAL_ERROR "add_subdirectory(brimlox) should give the Brimlox:: libraries and nothing else")
endif()
CMAKE
cmake -S "$work/parent" -B "$work/parent/build" -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON >/dev/null ||
    fail "configuring a project that adds the tree with add_subdirectory"

echo "installed into $prefix, built and ran the examples with find_package and with pkg-config"
