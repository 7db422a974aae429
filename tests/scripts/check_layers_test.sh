#!/usr/bin/env bash
# Plants includes into a small tree laid out like src/ and tools/, and checks that
# scripts/check-layers passes the sound tree and fails every broken one.
set -euo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_tree() {  # a tree whose includes all point down
  local root=$1
  mkdir -p "$root"/src/{diagnostics,image,fire,settings,update,display,app} "$root"/tools/render
  echo '#pragma once' >"$root/src/diagnostics/debug_log.h"
  printf '#include "diagnostics/debug_log.h"\n' >"$root/src/diagnostics/debug_log.cpp"
  printf '#pragma once\n#include "diagnostics/debug_log.h"\n' >"$root/src/image/surface.h"
  printf '#pragma once\n#include "image/surface.h"\n' >"$root/src/image/byte_image.h"
  printf '#include "image/byte_image.h"\n#include "image/surface.h"\n' >"$root/src/image/byte_image.cpp"
  printf '#pragma once\n#include "image/byte_image.h"\n' >"$root/src/fire/flame.h"
  printf '#include "fire/flame.h"\n#include "diagnostics/debug_log.h"\n' >"$root/src/fire/flame.cpp"
  printf '#pragma once\n#include "fire/flame.h"\n' >"$root/src/settings/settings.h"
  printf '#pragma once\n#include "diagnostics/debug_log.h"\n' >"$root/src/update/http_client.h"
  printf '#pragma once\n#include "image/surface.h"\n' >"$root/src/display/cdx_screen_win.h"
  printf '#include "settings/settings.h"\n#include "update/http_client.h"\n#include "display/cdx_screen_win.h"\n' \
    >"$root/src/app/base_app.cpp"
  printf '#include <windows.h>\n#include "app_resource.h"\n' >"$root/src/app/app.rc"
  echo '#pragma once' >"$root/src/app/app_resource.h"
  printf '#pragma once\n#include "fire/flame.h"\n' >"$root/tools/render/frame_files.h"
  printf '#include "frame_files.h"\n#include "settings/settings.h"\n// #include "app/nothing.h" is only a comment\n' \
    >"$root/tools/render/main.cpp"
}

# name | file to plant into | line planted | expected: pass, or a piece of the failure message
cases=(
  'sound tree|||pass'
  'engine reaches up into settings|src/fire/flame.cpp|#include "settings/settings.h"|higher layer'
  'header reaches up to the display|src/image/surface.h|  #  include "display/cdx_screen_win.h"|higher layer'
  'settings includes update|src/settings/settings.h|#include "update/http_client.h"|stay apart'
  'update includes settings|src/update/http_client.h|#include "settings/settings.h"|stay apart'
  'core includes a tool|src/diagnostics/debug_log.cpp|#include "../../tools/render/frame_files.h"|higher layer'
  'two units include each other|src/image/surface.h|#include "image/byte_image.h"|circle'
  'folder without a layer|src/widgets/widget.h|#pragma once|has no layer'
  'shell folders may include each other|tools/render/main.cpp|#include "app/app_resource.h"|pass'
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name file line expected <<<"$entry"
  root="$work/$RANDOM$RANDOM"
  make_tree "$root"
  if [ -n "$file" ]; then
    mkdir -p "$(dirname "$root/$file")"
    echo "$line" >>"$root/$file"
  fi
  status=0
  output=$("$check" "$root" 2>&1) || status=$?
  if [ "$expected" = pass ]; then
    ok=$([ "$status" -eq 0 ] && echo yes || echo no)
  else
    ok=$([ "$status" -ne 0 ] && grep -qF -- "$expected" <<<"$output" && echo yes || echo no)
  fi
  if [ "$ok" = yes ]; then
    echo "ok:   $name"
  else
    echo "FAIL: $name (exit $status, expected $expected)"
    echo "$output" | sed 's/^/      /'
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
