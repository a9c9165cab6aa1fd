#!/usr/bin/env bash
# Fails on an include that points up the layer order of src/: a file may include
# its own layer and those before it. Every entry of src/ must be a layer folder
# (nothing in another would be checked, nor anything that includes it ranked),
# and every layer folder must be there. Prints each offence and the rule.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
layers=(common resources settings collection scene check config host)
order=$(IFS='<'; echo "${layers[*]}" | sed 's/</ < /g')

rank() { # layer name -> its index, or nothing for a folder outside the order
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
}

# Sets `target` to the folder of src/ that an include of `file` names, as the
# compiler finds it: "x/Y.h" beside the file first, then under src/ (on the
# include path); <x/Y.h> under src/ only. Empty for a header outside src/ or
# not there.
find_included_folder() { # file, delimiter, path
  local file=$1 delimiter=$2 path=$3 candidate rel
  local candidates=("src/$path")
  [ "$delimiter" = '"' ] && candidates=("${file%/*}/$path" "src/$path")
  target=
  for candidate in "${candidates[@]}"; do
    [ -f "$candidate" ] || continue
    rel=$(realpath -m --relative-to=src "$candidate")
    case $rel in ../*) ;; */*) target=${rel%%/*} ;; esac
    return
  done
}

# An include line: its delimiter, then the path.
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'
found=0
fail() { echo "$1"; found=$((found + 1)); }

for layer in "${layers[@]}"; do
  [ -d "src/$layer" ] || fail "src/$layer: a layer folder is missing (order: $order)"
done
for entry in src/*; do
  [ -e "$entry" ] || continue
  [ -d "$entry" ] && [ -n "$(rank "${entry#src/}")" ] ||
    fail "$entry: not a layer folder, so neither checked nor ranked (order: $order)"
done

for layer in "${layers[@]}"; do
  [ -d "src/$layer" ] || continue
  own=$(rank "$layer")
  # file:line:text of every include, quoted or in angle brackets.
  while IFS=: read -r file line text; do
    [[ $text =~ $include ]] || continue
    find_included_folder "$file" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    [ -n "$target" ] || continue
    theirs=$(rank "$target")
    if [ -n "$theirs" ] && [ "$theirs" -gt "$own" ]; then
      fail "$file:$line: $layer includes $target, a later layer (order: $order)"
    fi
  done < <(grep -rnE "$include" "src/$layer")
done
if [ "$found" -ne 0 ]; then
  echo "layer order: $found offence(s)"
  exit 1
fi
echo "layer order: every include points down"
