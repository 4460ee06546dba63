#!/usr/bin/env bash
# Follows every relative link of every Markdown document under ROOT, as a reader of
# the unpacked package does: [text](path), ![picture](path) and [text](path#section)
# must name a file that exists beside the document, and [text](#section) or
# path#section a heading of that file. Web addresses are not followed. Prints one line
# for each link that leads nowhere and exits 1 when there is any.
#
#   tests/release/check_links.sh ROOT
set -uo pipefail
root=$1
export LC_ALL=C.UTF-8

# The anchors GitHub gives a file's headings: lower case, punctuation dropped, spaces
# as hyphens ("## FDCAN: nominal and data phase" is #fdcan-nominal-and-data-phase).
anchors() {
  sed -n 's/^#\{1,6\} \(.*\)$/\1/p' "$1" | tr 'A-Z' 'a-z' |
    sed "s/[][!\"#\$%&'()*+,./:;<=>?@\\\\^\`{|}~]//g; s/ /-/g"
}

broken=0
while IFS= read -r -d '' document; do
  folder=$(dirname "$document")
  # Each link target, one a line: what stands between "](" and the next ")".
  while IFS= read -r target; do
    case "$target" in http://* | https://* | mailto:*) continue ;; esac
    path=${target%%#*}
    section=""
    [ "$target" = "$path" ] || section=${target#*#}
    file=$document
    [ -z "$path" ] || file="$folder/$path"
    if [ ! -f "$file" ]; then
      echo "${document#"$root"/}: $target: no such file"
      broken=$((broken + 1))
    elif [ -n "$section" ] && ! anchors "$file" | grep -qxF -- "$section"; then
      echo "${document#"$root"/}: $target: no such section"
      broken=$((broken + 1))
    fi
  done < <(grep -o '\](\([^)]*\))' "$document" | sed 's/^\](\(.*\))$/\1/')
done < <(find "$root" -name '*.md' -print0)
[ "$broken" -eq 0 ]
