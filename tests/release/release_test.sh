#!/usr/bin/env bash
# Tests a release as a person gets it. Clones HEAD into a folder whose path holds a
# space and Chinese characters, runs scripts/release.sh there and checks:
#   - the six packages and SHA256SUMS (sha256sum -c accepts it), named by the version
#     of the top-level CMakeLists.txt, and named so in the README;
#   - the zip, unpacked into "发布 测试/": its members; quillmere.exe started from there
#     under Wine shows its window and ends with exit code 0 on Esc; quillmere-cli.exe
#     --version prints the version; both programs carry it as their version
#     information;
#   - the deb: usr/bin/quillmere-cli and its documents where Debian wants them, every
#     control field filled, and lintian reports no error and no warning;
#   - the tar.gz: the companion prints the 30 rows of the preset inputs
#     (tests/release/preset_rows.tsv) and the version with its commit;
#   - in each package every relative link of every document leads to a file (and
#     section) of that package (tests/release/check_links.sh), and the man page's SEE
#     ALSO names a guide the package holds;
#   - the arm64 deb's control fields and the aarch64 tar.gz's companion, run under
#     qemu-aarch64: the same 30 rows;
#   - the web zip: its members; the page opened from the unpacked folder in headless
#     Chromium lists the preset's rows (tests/web/page_browser_test.mjs);
#   - failures: a missing tool, a failing package step, an unwritable dist/, a failing
#     checksum step and a failing build each stop the release with one line naming the
#     step, a non-zero exit code and no dist/SHA256SUMS; so do a tree with uncommitted
#     changes (without --allow-dirty) and a version without an entry in NEWS.md.
#
#   tests/release/release_test.sh      (.ci/run runs it; about two minutes)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
work="$root/build/release-test"
source="$work/源 码"
unpacked="$work/发布 测试"

failures=0
check() {  # check DESCRIPTION COMMAND...: one line for each check, PASS or FAIL
  if "${@:2}"; then echo "PASS $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
same() { [ "$1" = "$2" ] || { echo "  expected: $2" >&2; echo "  got:      $1" >&2; return 1; }; }

version=$(sed -n 's/^project(Quillmere VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release_test: no version in CMakeLists.txt" >&2; exit 1; }
zip_name="quillmere-$version-win64.zip"
deb_name="quillmere-cli_${version}_amd64.deb"
tgz_name="quillmere-cli-$version-linux-x86_64.tar.gz"
arm_deb_name="quillmere-cli_${version}_arm64.deb"
arm_tgz_name="quillmere-cli-$version-linux-aarch64.tar.gz"
web_name="quillmere-$version-web.zip"

rm -rf "$work"
mkdir -p "$work"
git clone --quiet --no-checkout --no-hardlinks "$root" "$source"
git -C "$source" checkout --quiet --detach "$(git rev-parse HEAD)"
# The commit the programs and the deb name: HEAD's first seven digits.
commit=$(git -C "$source" rev-parse HEAD | cut -c1-7)

# 1. The release itself.
status=0
(cd "$source" && scripts/release.sh) >"$work/release.out" 2>"$work/release.err" || status=$?
if [ $status -ne 0 ]; then
  cat "$work/release.err" >&2
  echo "release_test: the release failed (exit code $status)" >&2
  exit 1
fi
dist="$source/dist"
check "release prints the paths of its seven files" same "$(cat "$work/release.out")" \
  "$(printf 'dist/%s\n' "$zip_name" "$deb_name" "$tgz_name" "$arm_deb_name" "$arm_tgz_name" "$web_name" SHA256SUMS)"
check "dist holds the six packages and SHA256SUMS, nothing else" same \
  "$(ls -A "$dist" | sort)" \
  "$(printf '%s\n' "$zip_name" "$deb_name" "$tgz_name" "$arm_deb_name" "$arm_tgz_name" "$web_name" SHA256SUMS | sort)"
check "sha256sum -c accepts SHA256SUMS" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
check "SHA256SUMS names each package once" same "$(awk '{print $2}' "$dist/SHA256SUMS" | sort)" \
  "$(printf '%s\n' "$zip_name" "$deb_name" "$tgz_name" "$arm_deb_name" "$arm_tgz_name" "$web_name" | sort)"
check "the release leaves the checkout clean" same \
  "$(git -C "$source" status --porcelain --ignored=no)" ""
# The README names this release's packages, and no other version's: a section left at an
# older version sends people to a file that is not there.
readme_names_packages() {
  local name
  for name in "$@"; do grep -qF "\`$name\`" "$source/README.md" || { echo "  not named: $name" >&2; return 1; }; done
}
check "README names each package of this version" readme_names_packages \
  "$zip_name" "$deb_name" "$tgz_name" "$arm_deb_name" "$arm_tgz_name" "$web_name"
check "README names no package of another version" same "$(grep -oE \
  'quillmere(-cli)?[-_][0-9]+\.[0-9]+\.[0-9]+' "$source/README.md" | grep -vE "[-_]$version\$" || true)" ""

# 2. The deb.
deb="$dist/$deb_name"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
docs=./usr/share/doc/quillmere-cli
for path in ./usr/bin/quillmere-cli $docs/README.md $docs/NEWS.md $docs/LICENSE $docs/copyright \
            $docs/changelog.gz $docs/docs/companion.md ./usr/share/man/man1/quillmere-cli.1.gz; do
  check "deb holds $path" grep -qxF "$path" <<<"$contents"
done
check "deb's lintian: no error, no warning" bash -c "lintian --fail-on error,warning '$deb' 2>&1 |
  tee '$work/lintian.txt' | sed 's/^/  /' >&2; exit \${PIPESTATUS[0]}"
check "deb Description names the commit" grep -qxF " Built from commit $commit." \
  <<<"$(dpkg-deb -f "$deb" Description)"
mkdir -p "$work/deb"
dpkg-deb -x "$deb" "$work/deb"
check "deb: every link of its documents holds" tests/release/check_links.sh "$work/deb/usr/share/doc/quillmere-cli"
check "deb: the man page's SEE ALSO names its guide" bash -c \
  "zcat '$work/deb/usr/share/man/man1/quillmere-cli.1.gz' | sed -n '/^\.SH SEE ALSO/,\$p' |
   grep -qF /usr/share/doc/quillmere-cli/docs/companion.md &&
   test -f '$work/deb/usr/share/doc/quillmere-cli/docs/companion.md'"
check "deb's companion is executable by all" \
  grep -qE '^-rwxr-xr-x root/root .* \./usr/bin/quillmere-cli$' <<<"$(dpkg-deb -c "$deb")"
check "deb Package" same "$(dpkg-deb -f "$deb" Package)" quillmere-cli
check "deb Version" same "$(dpkg-deb -f "$deb" Version)" "$version"
check "deb Architecture" same "$(dpkg-deb -f "$deb" Architecture)" amd64
check "deb Section" same "$(dpkg-deb -f "$deb" Section)" electronics
check "deb Maintainer is a name and an address" \
  grep -qE '^[^<]+ <[^@> ]+@[^> ]+>$' <<<"$(dpkg-deb -f "$deb" Maintainer)"
check "deb Description has a summary and a long text" \
  bash -c "[ \$(dpkg-deb -f '$deb' Description | wc -l) -ge 2 ]"
check "deb Depends on the C and C++ libraries" \
  grep -qE '^libc6 \(>= [0-9.]+\), libstdc\+\+6 \(>= [0-9.]+\)' <<<"$(dpkg-deb -f "$deb" Depends)"

# 3. The tar.gz: the companion as a Linux user unpacks it.
mkdir -p "$work/tgz"
tar -xzf "$dist/$tgz_name" -C "$work/tgz"
companion="$work/tgz/quillmere-cli-$version-linux-x86_64/bin/quillmere-cli"
check "tar.gz companion prints the 30 preset rows" \
  cmp -s <("$companion" --format tsv) tests/release/preset_rows.tsv
check "preset rows file holds 30 rows" same "$(wc -l <tests/release/preset_rows.tsv)" 30
check "tar.gz companion --version" same "$("$companion" --version)" "quillmere-cli $version (commit $commit)
arithmetic: x87"
tgz_root="$work/tgz/quillmere-cli-$version-linux-x86_64"
check "tar.gz holds the documents" test -f "$tgz_root/share/doc/quillmere-cli/docs/companion.md"
check "tar.gz holds the man page" test -f "$tgz_root/share/man/man1/quillmere-cli.1.gz"
check "tar.gz: every link of its documents holds" tests/release/check_links.sh "$tgz_root/share/doc/quillmere-cli"

# 3b. The 64-bit ARM packages: the deb's fields, the tar.gz's companion under qemu.
arm_deb="$dist/$arm_deb_name"
check "arm64 deb holds the companion" grep -qxF ./usr/bin/quillmere-cli <<<"$(dpkg-deb -c "$arm_deb" | awk '{print $6}')"
check "arm64 deb Architecture" same "$(dpkg-deb -f "$arm_deb" Architecture)" arm64
check "arm64 deb Version" same "$(dpkg-deb -f "$arm_deb" Version)" "$version"
check "arm64 deb's lintian: no error, no warning" bash -c "lintian --fail-on error,warning '$arm_deb' 2>&1 |
  sed 's/^/  /' >&2; exit \${PIPESTATUS[0]}"
check "arm64 deb Depends on the C library alone" \
  grep -qxE 'libc6 \(>= 2\.[0-9]+\)' <<<"$(dpkg-deb -f "$arm_deb" Depends)"
check "arm64 deb's companion is for 64-bit ARM" grep -q 'ARM aarch64' <<<"$(dpkg-deb --fsys-tarfile "$arm_deb" |
  tar -xO ./usr/bin/quillmere-cli | file -)"
mkdir -p "$work/arm-tgz"
tar -xzf "$dist/$arm_tgz_name" -C "$work/arm-tgz"
arm_companion=(qemu-aarch64 -L /usr/aarch64-linux-gnu
               "$work/arm-tgz/quillmere-cli-$version-linux-aarch64/bin/quillmere-cli")
check "aarch64 tar.gz companion prints the 30 preset rows under qemu" \
  cmp -s <("${arm_companion[@]}" --format tsv) tests/release/preset_rows.tsv
check "aarch64 tar.gz companion --version" same "$("${arm_companion[@]}" --version)" "quillmere-cli $version (commit $commit)
arithmetic: portable"

# 3c. The web zip: a folder with the page, opened from the file system.
mkdir -p "$work/web"
unzip -q "$dist/$web_name" -d "$work/web"
site="$work/web/quillmere-$version-web"
check "web zip members" same "$(cd "$work/web" && find . -type f | sort)" \
  "$(printf "./quillmere-$version-web/%s\n" LICENSE README.md help.html index.html manifest.webmanifest \
     quillmere-192.png quillmere-512.png quillmere.ico style.css sw.js | sort)"
check "the unpacked page lists the preset's rows in headless Chromium" \
  env QUILLMERE_SITE="$site" QUILLMERE_CLI="$companion" node --test --test-name-pattern='preset inputs' tests/web/page_browser_test.mjs

# 4. The zip, unpacked where a Windows user might: a space and Chinese characters.
mkdir -p "$unpacked"
unzip -q "$dist/$zip_name" -d "$unpacked"
# The two programs, README, LICENSE and every tracked file of docs/.
check "zip members" same "$(cd "$unpacked" && find . -type f | sort)" \
  "$( (printf '%s\n' ./LICENSE ./NEWS.md ./README.md ./quillmere-cli.exe ./quillmere.exe
       git ls-files docs | sed 's|^|./|') | sort)"
check "zip: every link of its documents holds" tests/release/check_links.sh "$unpacked"
check "zip: the man page's SEE ALSO names its guide beside it" bash -c \
  "sed -n '/^\.SH SEE ALSO/,\$p' '$unpacked/docs/quillmere-cli.1' | grep -qF docs/companion.md &&
   test -f '$unpacked/docs/companion.md'"
for exe in quillmere.exe quillmere-cli.exe; do
  info=$(x86_64-w64-mingw32-windres -i "$unpacked/$exe" -O rc 2>/dev/null || true)
  check "$exe FILEVERSION" grep -q "FILEVERSION ${version//./, }, 0" <<<"$info"
  check "$exe FileVersion" grep -qF "VALUE \"FileVersion\", \"$version.0\"" <<<"$info"
  check "$exe ProductVersion" grep -qF "VALUE \"ProductVersion\", \"$version (commit $commit)\"" <<<"$info"
  check "$exe OriginalFilename" grep -qF "VALUE \"OriginalFilename\", \"$exe\"" <<<"$info"
done
# The manifest, written by the build, names the same version.
check "quillmere.exe manifest version" \
  grep -aqF "name=\"Quillmere.Quillmere\" version=\"$version.0\"" "$unpacked/quillmere.exe"
check "the zip's man page names the version" grep -qF "\"Quillmere $version\"" "$unpacked/docs/quillmere-cli.1"

source scripts/wine-session.sh
if [ -d build/wine-release/prefix ]; then
  WINEPREFIX="$PWD/build/wine-release/prefix" wineserver -k 2>/dev/null || true
fi
rm -rf build/wine-release
wine_session_start "$PWD/build/wine-release/prefix" 1024x768x24

# Output through a file: Wine's helper processes may hold a pipe open (scripts/wine-run.sh).
(cd "$unpacked" && wine quillmere-cli.exe --version >"$work/version.txt" 2>/dev/null </dev/null) || true
check "quillmere-cli.exe --version" same "$(tr -d '\r' <"$work/version.txt")" \
  "quillmere-cli $version (commit $commit)
arithmetic: x87"

# Started from its folder; Wine names its virtual desktop after the program once the
# window shows. Esc closes it.
window_closes_on_escape() {
  (cd "$unpacked" && exec wine quillmere.exe >"$work/quillmere.log" 2>&1 </dev/null) &
  local program=$! waited=0 code=0 desktop
  if ! desktop=$(timeout 60 xdotool search --sync --name Quillmere | head -n 1) ||
     [ -z "$desktop" ]; then
    echo "  the window did not appear within 60 s" >&2
    kill "$program" 2>/dev/null || true
    return 1
  fi
  sleep 2
  xdotool windowfocus --sync "$desktop" 2>/dev/null || true
  xdotool key Escape
  while kill -0 "$program" 2>/dev/null; do
    if [ $waited -ge 150 ]; then
      echo "  still running 15 s after Esc" >&2
      kill "$program" 2>/dev/null || true
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$program" || code=$?
  [ "$code" -eq 0 ] || { echo "  exit code $code" >&2; return 1; }
}
check "quillmere.exe from '发布 测试/' shows its window, Esc ends it with exit code 0" \
  window_closes_on_escape
wine_session_stop

# 5. Failures. Each run stops at the named step with one line on standard error, a
# non-zero exit code and no SHA256SUMS. The builds are up to date by now, so each run
# takes seconds.
stubs="$work/stubs"
mkdir -p "$stubs/failing-cpack" "$stubs/failing-sums" "$stubs/no-cpack"
printf '#!/bin/sh\necho "cpack stub fails" >&2\nexit 1\n' >"$stubs/failing-cpack/cpack"
# Writes part of its output, then fails: as a full disk would.
printf '#!/bin/sh\necho "0000  half a line"\nexit 1\n' >"$stubs/failing-sums/sha256sum"
chmod +x "$stubs/failing-cpack/cpack" "$stubs/failing-sums/sha256sum"
# Every program of the system but cpack.
for dir in /usr/local/sbin /usr/local/bin /usr/sbin /usr/bin; do
  for tool in "$dir"/*; do
    [ -e "$stubs/no-cpack/$(basename "$tool")" ] || ln -s "$tool" "$stubs/no-cpack/"
  done
done
rm -f "$stubs/no-cpack/cpack"

# expect_failure DESCRIPTION EXPECTED_LAST_LINE ENV...: runs the release in the clone.
release_options=()  # what expect_failure passes to scripts/release.sh
expect_failure() {
  local description=$1 expected=$2 status=0
  shift 2
  (cd "$source" && env "$@" scripts/release.sh "${release_options[@]}") >"$work/failure.out" \
    2>"$work/failure.err" || status=$?
  check "$description: non-zero exit code" test "$status" -ne 0
  check "$description: the last line names the step" same "$(tail -n 1 "$work/failure.err")" \
    "$expected"
  check "$description: no SHA256SUMS" test ! -e "$source/dist/SHA256SUMS"
  check "$description: no partial checksums" test ! -e "$source/dist/.SHA256SUMS.partial"
}

expect_failure "cpack missing" 'release: step "tools" failed: cpack is not installed' \
  PATH="$stubs/no-cpack"
check "cpack missing: one line only" same "$(wc -l <"$work/failure.err")" 1
expect_failure "cpack failing" \
  'release: step "package native" failed: see build/release-logs/package-native.log' \
  PATH="$stubs/failing-cpack:$PATH"
rm -rf "$source/dist" && touch "$source/dist"
expect_failure "dist/ not a folder" \
  'release: step "prepare dist" failed: see build/release-logs/prepare-dist.log'
rm -f "$source/dist"
expect_failure "checksums failing" \
  'release: step "checksums" failed: see build/release-logs/checksums.log' \
  PATH="$stubs/failing-sums:$PATH"
check "checksums failing: the packages are there, unlisted" test -f "$source/dist/$deb_name"
echo "changed" >>"$source/README.md"
expect_failure "a tree with uncommitted changes" \
  'release: step "clean tree" failed: uncommitted changes (git status); commit them, or pass --allow-dirty'
git -C "$source" checkout --quiet -- README.md
sed -i 's/^project(Quillmere VERSION [0-9.]*/project(Quillmere VERSION 9.9.9/' "$source/CMakeLists.txt"
release_options=(--allow-dirty)
expect_failure "a version without an entry in NEWS.md" \
  'release: step "news" failed: NEWS.md has no entry for 9.9.9 (a line "## 9.9.9")'
git -C "$source" checkout --quiet -- CMakeLists.txt
echo 'this is not C++' >>"$source/calc/$(ls "$source/calc" | grep -m1 '\.cpp$')"
expect_failure "a source that does not compile" \
  'release: step "build native" failed: see build/release-logs/build-native.log'

if [ $failures -ne 0 ]; then
  echo "release_test: $failures check(s) failed" >&2
  exit 1
fi
echo "release_test: all checks passed"
