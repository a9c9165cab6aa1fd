#!/usr/bin/env bash
# End-to-end scenarios of VeltranoSetup.exe under Wine, in a prefix of their
# own (the test bed's Xvfb, when there is one, is the display).
#   installer-test.sh <x86|x64> <scenario> <VeltranoSetup.exe> <payload folder> <prefix> <installed_saver_tests.exe>
# Each scenario starts from a prefix without Veltrano and leaves it so.
set -uo pipefail
arch=$1 scenario=$2 setup=$(realpath "$3") payload=$4 saver_tests=$6
. "$(dirname "$0")/../scripts/testbed.sh"
wine_env "$arch" || exit 2
export WINEPREFIX=$(realpath -m "$5")
unset WINESERVER

# The saver's folder: System32 as the installer's own process sees it.
sys=$WINEPREFIX/drive_c/windows/system32
wow=$WINEPREFIX/drive_c/windows/syswow64
settings=$sys/Veltrano.scr.settings
uninstaller=$sys/VeltranoUninstall.exe
payload_files=(Veltrano.scr VeltResource.dat default_1.jpg default_2.jpg default_3.jpg)
product_key='HKLM\SOFTWARE\Korimba\ScreenSaver\Veltrano'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrano'
desktop_key='HKCU\Control Panel\Desktop'
# Another user's settings: the profile Windows keeps for itself, always loaded.
other_desktop_key='HKU\.Default\Control Panel\Desktop'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # description, command...
  local what=$1; shift
  "$@" || fail "$what"
}

# The data of a registry value as `reg query` prints it, or nothing.
reg_value() { # key name [/reg:32]
  wine reg query "$1" /v "$2" ${3:-} 2>/dev/null | tr -d '\r' |
    awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
reg_key_exists() { wine reg query "$@" >/dev/null 2>&1; }

# A 64-bit prefix also holds what a 32-bit install leaves: files in SysWOW64
# and keys in the registry's 32-bit view.
other_views=()
[ "$arch" = x64 ] && other_views=(/reg:32)

remove_everything() {
  local view
  rm -f "${payload_files[@]/#/$sys/}" "$settings" "$uninstaller"
  [ "$arch" = x64 ] && rm -f "${payload_files[@]/#/$wow/}" "$wow/Veltrano.scr.settings" "$wow/VeltranoUninstall.exe"
  for view in "" "${other_views[@]}"; do
    wine reg delete 'HKLM\SOFTWARE\Korimba' /f $view >/dev/null 2>&1
    wine reg delete "$uninstall_key" /f $view >/dev/null 2>&1
  done
  wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
  wine reg delete "$other_desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  return 0
}

prepare_prefix() {
  testbed_prefix_ready
  remove_everything
}

finish() {
  remove_everything
  wineserver -k >/dev/null 2>&1
  if [ "$failures" -ne 0 ]; then
    echo "$scenario: $failures check(s) failed"
    exit 1
  fi
  echo "$scenario: passed"
}

install() { wine "$setup" "$@"; }

# The uninstaller copies itself to a temporary folder and returns at once;
# it is done when its own file is gone.
uninstall() {
  wine "$uninstaller" "$@" || return 1
  local i
  for i in $(seq 1 60); do
    [ -e "$uninstaller" ] || return 0
    sleep 0.25
  done
  echo "the uninstaller did not finish" >&2
  return 1
}

default_settings() {
  local p
  printf '#Picture Info _ begin\r\n'
  for p in 1 2 3; do printf 'C:\\windows\\system32\\\\default_%s.jpg\r\n' "$p"; done
  printf '#Picture Info _ end\r\nSelectScheme 0\r\n'
}

payload_installed() {
  local f
  for f in "${payload_files[@]}"; do cmp -s "$payload/$f" "$sys/$f" || return 1; done
}
nothing_installed() {
  local f
  for f in "${payload_files[@]}"; do [ ! -e "$sys/$f" ] || return 1; done
  [ ! -e "$uninstaller" ] &&
    ! reg_key_exists 'HKLM\SOFTWARE\Korimba' && ! reg_key_exists "$uninstall_key"
}
no_32bit_keys() { ! reg_key_exists 'HKLM\SOFTWARE\Korimba' /reg:32 && ! reg_key_exists "$uninstall_key" /reg:32; }
curlang_is() { [ "$(reg_value "$product_key" CurLang)" = "$1" ]; }
saver_chosen() { reg_value "${1:-$desktop_key}" SCRNSAVE.EXE | grep -qix 'C:\\windows\\system32\\Veltrano.scr'; }
settings_are_default() { cmp -s "$settings" <(default_settings); }

silent_install_and_uninstall() {
  check "silent install succeeds" install /S /LANG=ru
  check "the five files are in the system folder" payload_installed
  check "CurLang is 1 (Russian)" curlang_is 0x1
  check "the settings file holds the default content" settings_are_default
  check "Veltrano is the user's screen saver" saver_chosen
  check "ScreenSaveActive is 1" [ "$(reg_value "$desktop_key" ScreenSaveActive)" = 1 ]
  check "Add/Remove Programs names the saver" [ -n "$(reg_value "$uninstall_key" DisplayName)" ]
  check "Add/Remove Programs lists the uninstaller" \
    [ "$(reg_value "$uninstall_key" QuietUninstallString)" = '"C:\windows\system32\VeltranoUninstall.exe" /S' ]
  local cache
  cache=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Veltrano/PictureCache
  mkdir -p "$cache" && echo entry >"$cache/0123456789abcdef.entry"
  check "silent uninstall succeeds" uninstall /S
  check "the uninstaller removed files, keys and its entry" nothing_installed
  check "the user's picture cache is gone" [ ! -e "$cache" ]
  check "the settings file is gone" [ ! -e "$settings" ]
  check "the user's screen saver is no longer Veltrano" [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ]
}

language_choice() {
  local row code index
  # Without /LANG the Windows interface language is proposed.
  check "install under a German Windows" env LC_ALL=de_DE.UTF-8 wine "$setup" /S
  check "CurLang follows the interface language (2)" curlang_is 0x2
  remove_everything
  for row in en:0 ru:1 de:2 fr:3 es:4 it:5 ja:6; do
    code=${row%:*} index=${row#*:}
    check "install with /LANG=$code" install /S "/LANG=$code"
    check "/LANG=$code gives CurLang $index" curlang_is "0x$index"
  done
  check "uninstall" uninstall /S
  check "nothing left after uninstall" nothing_installed
  install /S /LANG=xx
  check "an unknown /LANG ends with exit code 2" [ $? -eq 2 ]
  check "an unknown /LANG installs nothing" nothing_installed
}

reinstall_keeps_settings() {
  local mine
  mine=$(mktemp)
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$mine"
  check "install with /NOSAVER" install /S /LANG=de /NOSAVER
  check "/NOSAVER leaves the user's screen saver alone" [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ]
  cp "$mine" "$settings"
  check "reinstall" install /S
  check "a reinstall keeps the user's settings file" cmp -s "$mine" "$settings"
  check "a reinstall without /LANG keeps the earlier language" curlang_is 0x2
  check "uninstall with /KEEPSETTINGS" uninstall /S /KEEPSETTINGS
  check "/KEEPSETTINGS keeps the settings file" cmp -s "$mine" "$settings"
  check "everything else is gone" nothing_installed
  rm -f "$mine"
}

installed_saver() {
  check "silent install in Russian" install /S /LANG=ru
  check "the installed saver saves, and configures in Russian" wine "$saver_tests"
  check "silent uninstall" uninstall /S
  check "nothing left after uninstall" nothing_installed
}

older_windows_refused() {
  # The throw-away prefix plays Windows XP for this one scenario.
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
  install /S /LANG=de
  check "Windows XP: setup ends with exit code 3" [ $? -eq 3 ]
  check "Windows XP: nothing is installed" nothing_installed
  check "Windows XP: the user's screen saver is left alone" [ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ]
  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  check "Windows Vista: setup installs" install /S /LANG=de
  check "Windows Vista: the five files are in the system folder" payload_installed
  check "uninstall" uninstall /S
}

# The 32-bit install in the 64-bit prefix, with the picture list $1. Where the
# kernel runs 32-bit programs the 32-bit installer makes it; elsewhere it is
# laid down as that installer leaves it.
dist=$(dirname "$setup")
install_32bit() {
  local f
  if wine_can_run x86; then
    check "the 32-bit installer installs into SysWOW64" wine "$dist/VeltranoSetup.exe" /S /LANG=fr
  else
    for f in "${payload_files[@]}"; do cp "$dist/$f" "$wow/$f"; done
    cp "$dist/VeltranoSetup.exe" "$wow/VeltranoUninstall.exe"
    wine reg add "$product_key" /v CurLang /t REG_DWORD /d 3 /f /reg:32 >/dev/null 2>&1
    wine reg add "$uninstall_key" /v DisplayName /d "Veltrano" /f /reg:32 >/dev/null 2>&1
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\SysWOW64\Veltrano.scr' /f >/dev/null 2>&1
  fi
  cp "$1" "$wow/Veltrano.scr.settings"
}
files_in_syswow64() { ls "$wow" | grep -iE '^(veltrano|veltresource|default_[123]\.jpg)'; }
nothing_in_syswow64() { [ -z "$(files_in_syswow64)" ]; }
# The 32-bit install as it stands: its files, its keys, the user's screen saver.
the_32bit_install() {
  (cd "$wow" && files_in_syswow64 | xargs md5sum)
  wine reg query "$product_key" /reg:32
  wine reg query "$uninstall_key" /reg:32
  reg_value "$desktop_key" SCRNSAVE.EXE
}

# Waits for a window of the program $1 (as in "veltrano.scr") on the display.
window_shown() { timeout 60 xdotool search --sync --onlyvisible --classname "$1" >/dev/null; }

# Keeps the file at the Windows path $1 (without blanks) open for writing until
# release_file, as a program saving it would: setup, which reads it without
# sharing writes, cannot open it meanwhile.
hold_file() {
  local prompt
  coproc holder { wine cmd /c "pause 2>>$1"; }
  # pause prompts once the file is open.
  read -r -N 1 -t 60 -u "${holder[0]}" prompt
}
release_file() {
  local input=${holder[1]:-}
  [ -n "$input" ] && exec {input}>&-
  wait "$holder_PID"
}

# A 32-bit install, the screen saver of this user and another, then the 64-bit
# installer over it.
replaces_a_32bit_install() {
  local mine expected
  mine=$(mktemp) expected=$(mktemp)
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\nC:\\windows\\SysWOW64\\\\default_2.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$mine"
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\nC:\\windows\\system32\\\\default_2.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$expected"
  install_32bit "$mine"
  check "the 32-bit saver is in SysWOW64" cmp -s "$dist/Veltrano.scr" "$wow/Veltrano.scr"
  if wine_can_run x86; then
    # 64-bit Add/Remove Programs reads these paths without redirection.
    check "the 32-bit install's uninstaller is recorded in SysWOW64" \
      [ "$(reg_value "$uninstall_key" UninstallString /reg:32)" = '"C:\windows\SysWOW64\VeltranoUninstall.exe"' ]
    check "the 32-bit install's icon is recorded in SysWOW64" \
      [ "$(reg_value "$uninstall_key" DisplayIcon /reg:32)" = 'C:\windows\SysWOW64\Veltrano.scr' ]
  fi
  wine reg add "$other_desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\SysWOW64\Veltrano.scr' /f >/dev/null 2>&1

  check "the 64-bit installer installs over it" install /S /NOSAVER
  check "the 64-bit files are in System32" payload_installed
  check "nothing of Veltrano is left in SysWOW64" nothing_in_syswow64
  check "the 32-bit view holds no Veltrano keys" no_32bit_keys
  check "the language chosen for the 32-bit install stays (French)" curlang_is 0x3
  check "the user's picture list moved, its default picture now in System32" cmp -s "$expected" "$settings"
  check "the user's screen saver is the 64-bit Veltrano" saver_chosen
  check "another user's screen saver is the 64-bit Veltrano" saver_chosen "$other_desktop_key"
  check "uninstall" uninstall /S
  check "nothing left after uninstall" nothing_installed
  check "no user's screen saver names the removed saver" [ -z "$(reg_value "$other_desktop_key" SCRNSAVE.EXE)" ]
  rm -f "$mine" "$expected"
}

# Screen Saver Settings runs the saver (for its preview, or its settings as
# here), and while it runs its file cannot be deleted: the 64-bit installer then
# ends with exit code 4 and changes nothing, and installs once it has ended.
other_width_in_use() {
  local mine before saver
  mine=$(mktemp)
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$mine"
  install_32bit "$mine"
  # Where the kernel runs no 32-bit programs, the 64-bit saver runs in its place.
  wine_can_run x86 || cp "$dist/x64/Veltrano.scr" "$wow/Veltrano.scr"
  before=$(the_32bit_install)
  wine 'C:\windows\SysWOW64\Veltrano.scr' /c &
  saver=$!
  check "the 32-bit saver's settings open" window_shown veltrano.scr
  install /S
  check "with the 32-bit saver running, setup ends with exit code 4" [ $? -eq 4 ]
  check "... changes nothing of the 32-bit install" [ "$(the_32bit_install)" = "$before" ]
  check "... and installs nothing" nothing_installed
  # Wine's start, which runs the saver, takes it along when it ends.
  kill "$saver"
  wait "$saver"
  check "once the saver has ended, setup installs" install /S
  check "the 64-bit files are in System32" payload_installed
  check "nothing of Veltrano is left in SysWOW64" nothing_in_syswow64
  check "the picture list moved" cmp -s "$mine" "$settings"
  check "uninstall" uninstall /S
  rm -f "$mine"
}

# A picture list as the saver writes it, one of its default pictures in the
# folder $2: $1 "ansi" in code page 932 (in which the second byte of 表 is a
# backslash), or "utf8" behind a byte-order mark, with a path that no ANSI code
# page holds.
saved_list() {
  {
    printf '#Picture Info _ begin\r\nD:\\写真\\表紙.jpg\r\n%s\\\\default_2.jpg\r\n' "$2"
    [ "$1" = utf8 ] && printf 'D:\\写真\\😀.jpg\r\n'
    printf '#Picture Info _ end\r\nSelectScheme 3\r\n'
  } | if [ "$1" = utf8 ]; then printf '\xef\xbb\xbf'; cat; else iconv -f UTF-8 -t CP932; fi
}

# The picture list moves byte for byte in either encoding, whatever the code
# page of the installer; only the line naming a default picture changes. A list
# that cannot be read stays where it is.
picture_list_moves() {
  local locale encoding list
  list=$(mktemp)
  for locale in C.UTF-8 ja_JP.UTF-8; do
    for encoding in ansi utf8; do
      saved_list $encoding 'C:\windows\SysWOW64' >"$list"
      install_32bit "$list"
      check "$locale: the 64-bit installer installs" env LC_ALL=$locale wine "$setup" /S /NOSAVER
      check "$locale: the $encoding list moved byte for byte" \
        cmp -s <(saved_list $encoding 'C:\windows\system32') "$settings"
      check "$locale: uninstall" uninstall /S
    done
  done
  install_32bit "$list"
  check "the list is held" hold_file 'C:\windows\SysWOW64\Veltrano.scr.settings'
  check "with the list unreadable, the 64-bit installer installs" install /S /NOSAVER
  release_file
  check "... leaves the list where it was" cmp -s "$list" "$wow/Veltrano.scr.settings"
  check "... and gives the new saver the default list" settings_are_default
  check "uninstall" uninstall /S
  rm -f "$list"
}

prepare_prefix
case $scenario in
  SilentInstallAndUninstall) silent_install_and_uninstall ;;
  LanguageChoice) language_choice ;;
  ReinstallKeepsSettings) reinstall_keeps_settings ;;
  InstalledSaver) installed_saver ;;
  OlderWindowsRefused) older_windows_refused ;;
  ReplacesA32BitInstall) replaces_a_32bit_install ;;
  OtherWidthInUse) other_width_in_use ;;
  PictureListMoves) picture_list_moves ;;
  *) fail "unknown scenario $scenario" ;;
esac
finish
