#!/usr/bin/env bash
# help.chm holds a page for every topic a user needs, its contents name them,
# the troubleshooting page gives every error message and advice the saver can
# show, and Wine's help viewer opens the file.
# Usage: help_test.sh HELP_CHM
. "$(dirname "$0")/package_lib.sh"
chm=$(readlink -f "$1")

chmls list "$chm" >"$E2E_TMP/list.txt" 2>/dev/null
for page in index installing settings_dialog palette_editor style_editor update_check settings_folder troubleshooting; do
  check "help.chm holds $page.html" grep -qE " /$page\\.html\$" "$E2E_TMP/list.txt"
done
chmls extract "$chm" /toc.hhc "$E2E_TMP/toc.hhc" >/dev/null 2>&1
for topic in "What Hearthmoor does" "Installing and choosing Hearthmoor" "The settings dialog" "The palette editor" \
  "The style editor" "Checking for updates" "Where your settings live" "Troubleshooting and error messages"; do
  check "the contents name \"$topic\"" grep -qF "value=\"$topic\"" "$E2E_TMP/toc.hhc"
done
chmls extract "$chm" /settings_dialog.html "$E2E_TMP/settings_dialog.html" >/dev/null 2>&1
for part in "Background setting" "Pallette setting" "Style setting" "Intervals" "Show Fire"; do
  check "the settings dialog page explains \"$part\"" grep -qF "$part" "$E2E_TMP/settings_dialog.html"
done

# Every text of the saver's error table, as the page shows it.
chmls extract "$chm" /troubleshooting.html "$E2E_TMP/troubleshooting.html" >/dev/null 2>&1
sed -e 's/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g' "$E2E_TMP/troubleshooting.html" >"$E2E_TMP/page.txt"
grep -oE '"[^"]+\.?"' "$e2e_root/src/app/error_messages.cpp" | sed 's/^"//; s/"$//' | sort -u >"$E2E_TMP/texts.txt"
check "the error table has its texts ($(wc -l <"$E2E_TMP/texts.txt"))" [ "$(wc -l <"$E2E_TMP/texts.txt")" -ge 10 ]
while IFS= read -r text; do
  [ "$text" = "app/error_messages.h" ] && continue
  check "troubleshooting shows \"$text\"" grep -qF "$text" "$E2E_TMP/page.txt"
done <"$E2E_TMP/texts.txt"

# Wine's help viewer opens it: a window with the help's title appears.
boot_prefix || exit 1
start_display 1024x768x24 || exit 1
prepare_prefix
cp "$chm" "$E2E_TMP/help.chm"
WINEDLLOVERRIDES= "$WINE64" hh.exe "$(windows_path "$E2E_TMP/help.chm")" >/dev/null 2>&1 &
viewer=$!
window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --name '^Hearthmoor Help$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
check "Wine's help viewer shows a window titled \"Hearthmoor Help\"" [ -n "$window" ]
sleep 3
screenshot "$E2E_TMP/help.png"
if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/help.png" "$E2E_SHOTS/help-viewer.png"; fi
kill "$viewer" 2>/dev/null
wait "$viewer" 2>/dev/null
finish
