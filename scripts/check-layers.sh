#!/usr/bin/env bash
# Fails on an include that points up the layer order of src/: a file may include
# its own layer and those before it. Prints each offending file:line and the rule.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
layers=(common resources settings scene check config host)
order=$(IFS='<'; echo "${layers[*]}" | sed 's/</ < /g')

rank() { # layer name -> its index, or nothing for a folder outside the order
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done
}

found=0
for layer in "${layers[@]}"; do
  own=$(rank "$layer")
  # file:line:text of every quoted include, both "x/Y.h" and "../x/Y.h".
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"(\.\.\/)*([^/"]+)\/.*/\2/' <<<"$text")
    [ "$target" = "$text" ] && continue
    theirs=$(rank "$target")
    if [ -n "$theirs" ] && [ "$theirs" -gt "$own" ]; then
      echo "$file:$line: $layer includes $target, a later layer (order: $order)"
      found=$((found + 1))
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "src/$layer" 2>/dev/null)
done
if [ "$found" -ne 0 ]; then
  echo "layer order: $found include(s) point up"
  exit 1
fi
echo "layer order: every include points down"
