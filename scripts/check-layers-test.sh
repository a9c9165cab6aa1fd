#!/usr/bin/env bash
# The layer check on small planted trees: a tree in order passes, with includes
# of every form that point down; each way of breaking the order fails it, and
# the check names the offending file or folder.
set -uo pipefail
check=$(cd "$(dirname "$0")" && pwd)/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tree of one header per layer, with the check in its scripts/; the host's
# file includes each layer below it in another form, and headers that are no
# layer's.
plant() {
  local layer
  rm -rf "$work/tree"
  mkdir -p "$work/tree/scripts"
  cp "$check" "$work/tree/scripts/"
  for layer in common resources settings collection scene check config host; do
    mkdir -p "$work/tree/src/$layer"
    echo '#pragma once' >"$work/tree/src/$layer/$layer.h"
  done
  printf '%s\n' '#include "host.h"' '#include "config/config.h"' '#include <check/check.h>' \
    '#include "../scene/scene.h"' '#include "./settings/settings.h"' '#include  <resources/resources.h>' \
    '# include "common/common.h"' '#include <windows.h>' '#include <GL/gl.h>' '#include "minizip/unzip.h"' \
    >"$work/tree/src/host/host.cpp"
}

# name | what is done to the planted tree | what the check must print ("" for a pass)
cases=(
  'in order||'
  'quoted include up|echo "#include \"host/host.h\"" >>src/scene/scene.h|src/scene/scene.h:2: scene includes host'
  'parent path up|echo "#include \"../config/config.h\"" >>src/check/check.h|src/check/check.h:2: check includes config'
  'angle brackets up|echo "#include <host/host.h>" >>src/common/common.h|src/common/common.h:2: common includes host'
  'dot path up|echo "#include \"./check/check.h\"" >>src/scene/scene.h|src/scene/scene.h:2: scene includes check'
  'folder outside the order|mkdir src/extra && echo "#include \"host/host.h\"" >src/extra/extra.h|src/extra: not a layer folder'
  'file outside the layers|echo "#include \"host/host.h\"" >src/loose.h|src/loose.h: not a layer folder'
  'missing layer folder|rm -r src/check|src/check: a layer folder is missing'
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name edit want <<<"$entry"
  plant
  (cd "$work/tree" && eval "$edit")
  output=$("$work/tree/scripts/check-layers.sh" 2>&1)
  rc=$?
  if [ -z "$want" ]; then
    [ "$rc" -eq 0 ] && ok=1 || ok=
  else
    [ "$rc" -ne 0 ] && grep -qF "$want" <<<"$output" && ok=1 || ok=
  fi
  if [ -n "$ok" ]; then
    echo "ok: $name"
  else
    echo "FAILED: $name (exit $rc, wanted ${want:-a pass})"
    sed 's/^/  /' <<<"$output"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
