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
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # description, command...
  local what=$1; shift
  "$@" || fail "$what"
}

# The data of a registry value as `reg query` prints it, or nothing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
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
saver_chosen() { reg_value "$desktop_key" SCRNSAVE.EXE | grep -qix 'C:\\windows\\system32\\Veltrano.scr'; }
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
  echo record >"$cache/../PictureOrder"
  check "silent uninstall succeeds" uninstall /S
  check "the uninstaller removed files, keys and its entry" nothing_installed
  check "the user's picture cache is gone" [ ! -e "$cache" ]
  check "the user's order record and the saver's folder are gone" [ ! -e "${cache%/*}" ]
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

# A 32-bit install in the 64-bit prefix, with the user's picture list, then the
# 64-bit installer over it. Where the kernel runs 32-bit programs the 32-bit
# installer makes that install; elsewhere it is laid down as that installer
# leaves it.
replaces_a_32bit_install() {
  local dist mine expected f
  dist=$(dirname "$setup")
  mine=$(mktemp) expected=$(mktemp)
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\nC:\\windows\\SysWOW64\\\\default_2.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$mine"
  printf '#Picture Info _ begin\r\nD:\\Photos\\sea.jpg\r\nC:\\windows\\system32\\\\default_2.jpg\r\n#Picture Info _ end\r\nSelectScheme 3\r\n' >"$expected"
  if wine_can_run x86; then
    check "the 32-bit installer installs into SysWOW64" wine "$dist/VeltranoSetup.exe" /S /LANG=fr
  else
    for f in "${payload_files[@]}"; do cp "$dist/$f" "$wow/$f"; done
    cp "$dist/VeltranoSetup.exe" "$wow/VeltranoUninstall.exe"
    wine reg add "$product_key" /v CurLang /t REG_DWORD /d 3 /f /reg:32 >/dev/null 2>&1
    wine reg add "$uninstall_key" /v DisplayName /d "Veltrano" /f /reg:32 >/dev/null 2>&1
    wine reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\SysWOW64\Veltrano.scr' /f >/dev/null 2>&1
  fi
  cp "$mine" "$wow/Veltrano.scr.settings"
  check "the 32-bit saver is in SysWOW64" cmp -s "$dist/Veltrano.scr" "$wow/Veltrano.scr"

  check "the 64-bit installer installs over it" install /S /NOSAVER
  check "the 64-bit files are in System32" payload_installed
  check "nothing of Veltrano is left in SysWOW64" \
    [ -z "$(ls "$wow" | grep -iE '^(veltrano|veltresource|default_[123]\.jpg)')" ]
  check "the 32-bit view holds no Veltrano keys" no_32bit_keys
  check "the language chosen for the 32-bit install stays (French)" curlang_is 0x3
  check "the user's picture list moved, its default picture now in System32" cmp -s "$expected" "$settings"
  check "the user's screen saver is the 64-bit Veltrano" saver_chosen
  check "uninstall" uninstall /S
  check "nothing left after uninstall" nothing_installed
  rm -f "$mine" "$expected"
}

prepare_prefix
case $scenario in
  SilentInstallAndUninstall) silent_install_and_uninstall ;;
  LanguageChoice) language_choice ;;
  ReinstallKeepsSettings) reinstall_keeps_settings ;;
  InstalledSaver) installed_saver ;;
  OlderWindowsRefused) older_windows_refused ;;
  ReplacesA32BitInstall) replaces_a_32bit_install ;;
  *) fail "unknown scenario $scenario" ;;
esac
finish
