#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
# Run as root (or with sudo available). Safe to run again: it installs only what lacks.
#   scripts/install-deps.sh            everything: builds, tests, fuzzing, releases
#   scripts/install-deps.sh release    only what scripts/release.sh needs
set -euo pipefail

# scripts/release.sh: the builds, CPack's deb (dpkg-shlibdeps, file) and the archives;
# lintian checks the deb against Debian's rules.
release_packages=(
  git cmake g++ make mingw-w64 dpkg-dev file tar gzip zip coreutils lintian
  g++-aarch64-linux-gnu                                     # the companion for 64-bit ARM
  emscripten                                                # the web page
)
packages=(
  "${release_packages[@]}"
  googletest libgtest-dev libbenchmark-dev                  # native tests, benchmarks
  clang libclang-rt-14-dev                                  # fuzz targets (libFuzzer, sanitizers)
  wine wine64 xvfb xauth x11-utils xdotool xclip unzip      # running and driving it here
  fonts-wine                                                # Marlett: the title-bar buttons
  fonts-wqy-zenhei                                          # SimSun's widths for its stand-in
  fonts-wqy-microhei locales imagemagick                    # Chinese texts, screenshots
  man-db groff-base                                         # the companion's man page check
  qemu-user                                                 # the ARM build's tests (qemu-aarch64)
  emscripten nodejs node-acorn                              # the WebAssembly build, run under node
  python3                                                   # tests/cross: the four builds compared
  chromium-headless-shell                                   # the web page's browser tests
)
case "${1:-}" in
  "") ;;
  release) packages=("${release_packages[@]}") ;;
  *) echo "usage: scripts/install-deps.sh [release]" >&2; exit 2 ;;
esac
# The web page's build runs node (emscripten's tools, build_site.mjs); its tests npm.
# A node that is already installed (Debian's or another) is kept.
command -v node >/dev/null || packages+=(nodejs)
[ "${1:-}" = release ] || command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

[ "${1:-}" != release ] || exit 0

# playwright-core and axe-core for the browser tests, as package-lock.json pins them;
# playwright-core drives Debian's chromium-headless-shell and downloads no browser of
# its own.
repo_root="$(cd "$(dirname "$0")/.." && pwd)"
locked_matches_installed() {
  (cd "$repo_root" && node -e '
    const locked = require("./package-lock.json").packages;
    const same = (name) => require(`./node_modules/${name}/package.json`).version === locked[`node_modules/${name}`].version;
    process.exit(same("playwright-core") && same("axe-core") ? 0 : 1);' 2>/dev/null)
}
if ! locked_matches_installed; then
  (cd "$repo_root" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund >/dev/null)
fi

# Wine takes its code page from LC_ALL; zh_CN.UTF-8 gives it code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
