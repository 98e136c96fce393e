# Sourced by setup, run, test, bench, fuzz and wine-run: whether this machine runs 32-bit
# Windows programs under Wine and, where it does not, why, in the words the scripts print.
#   kernel_runs_32bit  the kernel starts a 32-bit x86 program (1 only where it surely cannot)
#   wine_runs_32bit    Wine's 32-bit loader starts
#   windows32_why      where 32-bit programs cannot run, prints why in a few words ("no
#                      32-bit support in its kernel", ...); fails where they run:
#                      `if why=$(windows32_why); then ...x86_64 path...; fi`
# ORVANE_WINE_DIR (default /usr/lib/wine) is where Wine's loaders live; ORVANE_BUILD the
# build folder, which holds what the set-up learned (.setup-wine32: why apt could not
# install the 32-bit Wine).
orvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
orvane_build=${ORVANE_BUILD:-$orvane_root/build}
wine_dir=${ORVANE_WINE_DIR:-/usr/lib/wine}
wine32_loader=$wine_dir/wine
wine64_loader=$wine_dir/wine64
wine32_marker=$orvane_build/.setup-wine32

# The smallest static i386 program: exit(32) through int 0x80. Built from bytes, so that
# the question is answered before any compiler is installed.
write_i386_probe() {
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'
  printf '\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00'
  printf '\x01\x00\x28\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'
  printf '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  printf '\xb8\x01\x00\x00\x00\xbb\x20\x00\x00\x00\xcd\x80'
}

# Only an "Exec format error" says no: a folder mounted noexec or a full disk says
# nothing about the kernel, and the loader is then asked instead.
kernel_runs_32bit() {
  local probe=${ORVANE_I386_PROBE:-} out rc
  if [ -z "$probe" ]; then
    mkdir -p "$orvane_build" 2>/dev/null
    probe=$orvane_build/.i386-probe
    write_i386_probe >"$probe" 2>/dev/null && chmod +x "$probe" 2>/dev/null || return 0
  fi
  out=$("$probe" 2>&1) && rc=0 || rc=$?
  [ "$rc" -eq 32 ] && return 0
  [[ "$out" == *"format error"* ]] && return 1
  return 0
}

wine_runs_32bit() { "$wine32_loader" --version >/dev/null 2>&1; }

windows32_why() {
  wine_runs_32bit && return 1
  if ! kernel_runs_32bit; then
    echo "no 32-bit support in its kernel"
  elif [ -e "$wine32_loader" ]; then
    echo "its 32-bit Wine is installed but does not start ($wine32_loader --version fails)"
  elif [ -s "$wine32_marker" ]; then
    echo "no 32-bit Wine installed: $(head -n 1 "$wine32_marker")"
  else
    echo "no 32-bit Wine installed (package wine32)"
  fi
  return 0
}
