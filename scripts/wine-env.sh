# Sourced: the Wine of one Windows build. `wine_env x86|x64` exports what
# every Wine call of that build needs: the build folder (wine_build), its
# prefix (kept when WINEPREFIX is already set for that build), the prefix's
# width, and for x64 Wine's 64-bit loader in front of PATH.
wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

wine_env() {
  case $1 in
    x86) wine_build=$wine_root/build/windows WINEARCH=win32
         # Debian's own wine, which takes the 32-bit loader.
         PATH=$(tr ':' '\n' <<<"$PATH" | grep -vxF "$wine_root/scripts/wine64" | paste -sd ':')
         unset WINELOADER ;;
    x64) wine_build=$wine_root/build/windows-x64 WINEARCH=win64
         case ":$PATH:" in *":$wine_root/scripts/wine64:"*) ;; *) PATH=$wine_root/scripts/wine64:$PATH ;; esac
         export WINELOADER=/usr/lib/wine/wine64 ;;
    *) echo "wine_env: x86 or x64, not '$1'" >&2; return 1 ;;
  esac
  wine_arch=$1
  export PATH WINEARCH wine_build wine_arch
  export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
}

# Returns 0 when this machine starts Wine programs of the given width; 1 when
# its kernel refuses Wine's 32-bit loader (a kernel built or booted without
# 32-bit support: "Exec format error"), the one failure a caller may skip; 2
# for any other failure (a loader missing or broken), with its message on
# standard error.
wine_can_run() {
  local loader out rc
  case $1 in
    x86) loader=/usr/lib/wine/wine ;;
    x64) loader=/usr/lib/wine/wine64 ;;
  esac
  out=$("$loader" --version 2>&1) && return 0
  rc=$?
  if [ "$1" = x86 ] && { grep -qi 'exec format error' <<<"$out" ||
      { [ "$rc" -eq 126 ] && grep -qw 'ia32_emulation=0' /proc/cmdline 2>/dev/null; }; }; then
    return 1
  fi
  echo "$loader --version failed (exit $rc): $out" >&2
  return 2
}
