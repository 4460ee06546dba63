#!/usr/bin/env bash
# Makes a release of this checkout: installs what is missing, builds Release without
# tests or benchmarks in build folders of its own (build/release-native,
# build/release-windows, build/release-linux-arm64), packages with CPack and writes
# into dist/
#   quillmere-<version>-win64.zip             the Windows program and companion
#   quillmere-cli_<version>_amd64.deb          the companion for Debian and Ubuntu
#   quillmere-cli-<version>-linux-x86_64.tar.gz
#   quillmere-cli_<version>_arm64.deb          the same for 64-bit ARM
#   quillmere-cli-<version>-linux-aarch64.tar.gz
#   quillmere-<version>-web.zip                the web page (build/release-web)
#   SHA256SUMS                                 for sha256sum -c
# and prints their paths. Nothing else in the tree changes. Packages are dated by the
# last commit (SOURCE_DATE_EPOCH, unless it is set already), so a checkout of the same
# commit gives the same bytes anywhere, at any time.
#
#   scripts/release.sh [--allow-dirty]
#   scripts/release.sh --verify-reproducible
#
# It refuses a tree with uncommitted changes to tracked files, whose packages would
# not be the commit they name, unless given --allow-dirty (they then say "-dirty"),
# and a version that has no "## VERSION" entry in NEWS.md.
#
# --verify-reproducible clones HEAD twice, into two different folders under
# build/reproducible/, makes the release in each, one after the other and in different
# time zones, and compares their SHA256SUMS: "reproducible: yes" and exit code 0 when
# they are identical, otherwise "reproducible: no", the differing files and exit code 1.
#
# When a step fails, it prints one line naming the step (and where its log is) and
# exits non-zero. dist/SHA256SUMS is written last, whole or not at all.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
logs=build/release-logs

# One line naming the failed step, then out.
fail() {
  echo "release: step \"$1\" failed${2:+: $2}" >&2
  exit 1
}

# step NAME COMMAND...: runs the command with its output in a log of its own.
step() {
  local name=$1 log
  shift
  log="$logs/${name//[^A-Za-z0-9]/-}.log"
  "$@" >"$log" 2>&1 || fail "$name" "see $log"
}

check_tools() {
  local tool
  for tool in git cmake cpack g++ x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres \
              aarch64-linux-gnu-g++ dpkg-shlibdeps dpkg-deb file tar gzip zip sha256sum emcc node; do
    command -v "$tool" >/dev/null || fail tools "$tool is not installed"
  done
}

# The files of one CPack run, from its output folder into dist/.
take_packages() {
  local from=$1 pattern file
  shift
  for pattern in "$@"; do
    for file in "$from"/$pattern; do
      [ -f "$file" ] || fail "collect packages" "no $pattern in $from"
      cp "$file" dist/ || fail "collect packages" "cannot write dist/$(basename "$file")"
      packages+=("$(basename "$file")")
    done
  done
}

# SHA256SUMS beside the packages: written under another name, checked, then renamed,
# so that a failure never leaves a SHA256SUMS that sha256sum -c would accept.
write_checksums() {
  local partial=dist/.SHA256SUMS.partial
  if ! (cd dist && sha256sum -- "${packages[@]}") >"$partial" 2>"$logs/checksums.log" ||
     ! (cd dist && sha256sum --quiet -c "$(basename "$partial")") >>"$logs/checksums.log" 2>&1 ||
     ! mv "$partial" dist/SHA256SUMS 2>>"$logs/checksums.log"; then
    rm -f "$partial"
    fail checksums "see $logs/checksums.log"
  fi
}

release() {
  umask 022
  # One locale for every builder; UTF-8, so that paths with Chinese characters work.
  export LC_ALL=C.UTF-8
  # The old checksums go first of all: a release that fails leaves none behind.
  rm -f dist/SHA256SUMS 2>/dev/null
  mkdir -p "$logs" 2>/dev/null || { echo "release: step \"logs\" failed: cannot make $logs" >&2; exit 1; }
  step "install dependencies" scripts/install-deps.sh release
  check_tools
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
      fail "source date" "not a git checkout; set SOURCE_DATE_EPOCH"
  fi
  export SOURCE_DATE_EPOCH
  if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    [ -n "${allow_dirty:-}" ] ||
      fail "clean tree" "uncommitted changes (git status); commit them, or pass --allow-dirty"
    echo "release: note: the tree has uncommitted changes; they are built, dated by the last commit" >&2
  fi
  local version
  version=$(sed -n 's/^project(Quillmere VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
  [ -n "$version" ] || fail "news" "no version in CMakeLists.txt"
  grep -qE "^## ${version//./\\.}( \(|\$)" NEWS.md 2>/dev/null ||
    fail "news" "NEWS.md has no entry for $version (a line \"## $version\")"

  # dist/ holds this release only.
  step "prepare dist" bash -c 'mkdir -p dist && find dist -mindepth 1 -delete && [ -w dist ]'

  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  local preset
  for preset in native windows linux-arm64 web; do
    step "configure $preset" cmake --preset "release-$preset"
    step "build $preset" cmake --build --preset "release-$preset" -j"$jobs"
    step "package $preset" bash -c "rm -rf build/release-$preset/packages &&
      cd build/release-$preset && cpack -B packages"
  done

  packages=()
  take_packages build/release-windows/packages "quillmere-*-win64.zip"
  take_packages build/release-native/packages "quillmere-cli_*.deb" "quillmere-cli-*.tar.gz"
  take_packages build/release-linux-arm64/packages "quillmere-cli_*.deb" "quillmere-cli-*.tar.gz"
  take_packages build/release-web/packages "quillmere-*-web.zip"
  write_checksums
  local file
  for file in "${packages[@]}" SHA256SUMS; do echo "dist/$file"; done
}

# Two clones of HEAD, two releases, one comparison.
verify_reproducible() {
  mkdir -p "$logs" || exit 1
  local head base=build/reproducible
  head=$(git rev-parse --verify HEAD 2>/dev/null) || fail "clone" "not a git checkout"
  step "clean $base" rm -rf "$base"
  mkdir -p "$base/other place" || fail "clone" "cannot make $base"
  # Different depths and names: a build path that leaks into a package shows.
  local first="$base/first" second="$base/other place/second"
  local dir
  for dir in "$first" "$second"; do
    step "clone" git clone --quiet --no-checkout --no-hardlinks "$root" "$dir"
    step "clone" git -C "$dir" checkout --quiet --detach "$head"
  done
  step "release in $first" env -u SOURCE_DATE_EPOCH TZ=UTC "$first/scripts/release.sh"
  step "release in $second" env -u SOURCE_DATE_EPOCH TZ=Asia/Shanghai \
    "$second/scripts/release.sh"

  if cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    echo "reproducible: yes"
    rm -rf "$base"
    return 0
  fi
  echo "reproducible: no"
  # The files whose sums differ (or that only one release has).
  join -j 2 -a 1 -a 2 -e missing -o 0,1.1,2.1 \
      <(sort -k 2 "$first/dist/SHA256SUMS") <(sort -k 2 "$second/dist/SHA256SUMS") |
    awk '$2 != $3 {print "differs: " $1}'
  echo "both releases are kept in $base" >&2
  return 1
}

case "${1:-}" in
  "") release ;;
  --allow-dirty) allow_dirty=1; release ;;
  --verify-reproducible) verify_reproducible ;;
  *) echo "usage: scripts/release.sh [--allow-dirty | --verify-reproducible]" >&2; exit 2 ;;
esac
