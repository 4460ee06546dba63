#!/usr/bin/env bash
# The plain g++ command line of docs/windows.md, run as written (with the cross
# compilers its note names) on a copy of the sources: it must make quillmere.exe with
# the version information CMake's build gives it, version and commit included.
#
#   tests/win/plain_build_test.sh SOURCE_DIR
# Run by CTest (tests/win); a minute or two, as it compiles everything once.
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The indented lines of the section, up to the next heading.
sed -n '/^## A plain g++ command line/,/^## /p' "$source_dir/docs/windows.md" |
  sed -n 's/^    //p' |
  sed 's/^windres /x86_64-w64-mingw32-windres /; s/^g++ /x86_64-w64-mingw32-g++-posix /' >"$work/build.sh"
grep -q '^x86_64-w64-mingw32-windres ' "$work/build.sh" || { echo "no windres line in docs/windows.md"; exit 1; }
grep -q '^x86_64-w64-mingw32-g++-posix ' "$work/build.sh" || { echo "no g++ line in docs/windows.md"; exit 1; }

# The sources the command line reads, and git's view of the checkout for the commit.
mkdir -p "$work/src"
cp -r "$source_dir"/{CMakeLists.txt,answers,app,calc,ui,res} "$work/src/"
export GIT_DIR
GIT_DIR=$(git -C "$source_dir" rev-parse --absolute-git-dir)
commit=$(git -C "$source_dir" rev-parse HEAD | cut -c1-7)
version=$(sed -n 's/^project(Quillmere VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")

(cd "$work/src" && bash -e "$work/build.sh")
test -f "$work/src/quillmere.exe" || { echo "no quillmere.exe"; exit 1; }
info=$(x86_64-w64-mingw32-windres -i "$work/src/quillmere.exe" -O rc)
grep -qF "VALUE \"ProductVersion\", \"$version (commit $commit)\"" <<<"$info" ||
  { echo "ProductVersion is not \"$version (commit $commit)\":"; grep ProductVersion <<<"$info"; exit 1; }
grep -qF "VALUE \"FileVersion\", \"$version.0\"" <<<"$info" || { echo "FileVersion is not $version.0"; exit 1; }
grep -aqF "name=\"Quillmere.Quillmere\" version=\"$version.0\"" "$work/src/quillmere.exe" ||
  { echo "the manifest does not name version $version.0"; exit 1; }
echo "PASS the plain g++ command line of docs/windows.md builds quillmere.exe $version (commit $commit)"
