#!/usr/bin/env bash
# Names outside any one legacy code page, in the real saver under Wine:
#   names    a settings folder and a picture named in Han, Cyrillic and Greek:
#            the picture is added through the file dialog, listed, saved with
#            OK, listed again by the next start and burns in full screen
#   first-start  a user whose profile folder is named in Han, Cyrillic and Greek
#            starts the saver for the first time: the settings folder is made
#            under the profile, filled from the machine's defaults, and found again
#            by the next start through the name written down in the registry
#   legacy   a config.ini that an earlier version wrote in the system's legacy
#            code page (Windows-1252 "café", then Windows-1251 under a Russian
#            locale): the name is listed intact and OK writes it back in UTF-8
# Usage: unicode_names_test.sh SAVER DRIVER CASE
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") driver=$(readlink -f "$2") case=$3
w=1024 h=768

# The X screen stays black: fire in full screen then comes from the picture alone.
start_display "${w}x${h}x24" || exit 1
prepare_prefix

drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }

# start_saver [ARG]: the saver, up to its dialog (the settings mode without ARG).
start_saver() {
  rm -f "$settings/log.txt"
  "$WINE64" "$saver" "$@" &
  saver_pid=$!
  wait_for_line "$settings/log.txt" "ConfigApp::Init end" 60 || { fail "the settings mode started in $settings"; return 1; }
  drive wait 20 >/dev/null || { fail "the dialog is shown"; return 1; }
}

end_saver() {
  drive command "$1" >/dev/null
  wait_for_exit "$saver_pid" 20
  check "$2 ends the saver with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
}

listed() { drive rows 1001 | tee "$E2E_TMP/rows.txt"; }

case $case in
  names)
    settings="$E2E_TMP/設定 Настройки Ρυθμίσεις"
    pictures="$E2E_TMP/圖片 Картинки Εικόνες"
    picture="$pictures/火焰 Пламя Φλόγα.jpg"
    mkdir -p "$pictures"
    make_settings_folder "$settings"
    set_settings_folder "$settings"
    make_picture "$picture" "$w" "$h"
    name=$(windows_path "$picture")

    start_saver || finish
    drive add-file "$name" select 1001 1 >"$E2E_TMP/added.txt" || fail "the file dialog opened and closed"
    listed
    check "the picture added through the file dialog is listed by its name" grep -qxF "row 1: $name" "$E2E_TMP/rows.txt"
    end_saver 1 OK
    config=$settings/config.ini
    check "config.ini holds its name in UTF-8" [ "$(ini_value "$config" Background path1)" = "$name" ]
    check "and it is the current background" [ "$(ini_value "$config" Background currentOrder)" = 1 ]

    start_saver || finish
    listed
    check "the next start lists it again" grep -qxF "row 1: $name" "$E2E_TMP/rows.txt"
    end_saver 2 Cancel

    # Full screen: the screen is black but for what the saver draws.
    rm -f "$settings/log.txt"
    "$WINE64" "$saver" /s &
    pid=$!
    wait_for_line "$settings/log.txt" "BigApp::Init() end" 30 || fail "full screen started within 30 s"
    lit=0
    for _ in 1 2 3 4 5 6; do
      sleep 1
      screenshot "$E2E_TMP/fire.png"
      lit=$(mean_brightness "$E2E_TMP/fire.png")
      [ "$lit" -ge 8 ] && break
    done
    xdotool key space
    wait_for_exit "$pid" 10
    check "a key ends full screen with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    check "the picture is not refused" bash -c "! grep -F 'cannot be shown' '$E2E_TMP/log.txt'"
    # The picture's bright window, not the black screen, gives the fire its edges.
    window_bottom=$(mean_brightness "$E2E_TMP/fire.png" "$((w / 2 - 40))x$((h / 24))+$((w / 4 + 20))+$((h * 5 / 6 - h / 24))")
    echo "full screen: mean brightness $lit, above the picture's bottom edge $window_bottom"
    check "full screen shows the picture on fire" [ "$lit" -ge 8 -a "$window_bottom" -ge 16 ]
    ;;
  first-start)
    machine="$E2E_TMP/機器 Машина Μηχανή"
    profile="$E2E_TMP/张伟 Пётр Ξένια"
    settings="$profile/Hearthmoor"
    make_settings_folder "$machine"
    mkdir -p "$profile"
    clear_settings_folder
    "$WINE64" reg add 'HKLM\Software\Hearthmoor\Path' /v Path /d "$(windows_path "$machine")" /f >/dev/null 2>&1
    # The profile's application-data folder, put back afterwards: the prefix is shared.
    shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
    app_data=$("$WINE64" reg query "$shell_folders" /v AppData 2>/dev/null | tr -d '\r' |
      awk '$1 == "AppData" { sub(/^.*REG_EXPAND_SZ[ \t]+/, ""); print }')
    restore_app_data() {
      if [ -n "$app_data" ]; then
        "$WINE64" reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$app_data" /f >/dev/null 2>&1
      fi
    }
    restore() { restore_app_data; clear_settings_folder; }
    "$WINE64" reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$(windows_path "$profile")" /f >/dev/null 2>&1

    start_saver || { restore; finish; }
    end_saver 2 Cancel
    check "the first start made the folder under the profile, with the defaults" \
      cmp "$settings/config.ini" "$machine/config.ini"
    # The profile is elsewhere now: only the name written down leads back.
    restore_app_data
    start_saver || { restore; finish; }
    end_saver 2 Cancel
    restore
    check "the next start found it again through the registry" [ -s "$settings/log.txt" ]
    ;;
  legacy)
    # One run per legacy code page, the system locale's: Windows-1252 by default,
    # Windows-1251 under a Russian locale. Wine takes the system locale from the
    # environment, and needs the locale to exist to read file names as UTF-8:
    # a Russian one is compiled for the test alone.
    export LOCPATH=$E2E_TMP/locales
    mkdir -p "$LOCPATH"
    localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8" >/dev/null 2>&1 || fail "a Russian locale is compiled"
    for run in "CP1252 café C.UTF-8" "CP1251 Жар-птица ru_RU.UTF-8"; do
      read -r code_page stem locale <<<"$run"
      settings=$E2E_TMP/settings-$code_page
      make_settings_folder "$settings"
      set_settings_folder "$settings"
      make_picture "$E2E_TMP/$stem.jpg" 320 240
      name=$(windows_path "$E2E_TMP/$stem.jpg")
      # As an earlier version wrote it: the name's bytes in the legacy code page.
      legacy=$(printf '%s' "$name" | iconv -f UTF-8 -t "$code_page")
      sed -i -E "s/^num=1\r/num=2\r/; s/^path0=Desktop\r/path0=Desktop\r\npath1=$(printf '%s' "$legacy" |
        sed 's/[\\&/]/\\&/g')\r/" "$settings/config.ini"
      check "$code_page: config.ini is not UTF-8 before" bash -c "! iconv -f UTF-8 -t UTF-8 '$settings/config.ini' >/dev/null 2>&1"

      LC_ALL=$locale start_saver || finish
      listed
      check "$code_page: the name written in the legacy code page is listed intact" grep -qxF "row 1: $name" "$E2E_TMP/rows.txt"
      end_saver 1 OK
      config=$settings/config.ini
      check "$code_page: OK saves it in UTF-8" \
        [ "$(ini_value "$config" Background num)" = 2 -a "$(ini_value "$config" Background path1)" = "$name" ]
      check "$code_page: config.ini is UTF-8 after" iconv -f UTF-8 -t UTF-8 "$settings/config.ini" -o /dev/null
    done
    ;;
  *)
    fail "unknown case $case"
    ;;
esac
finish
