#!/usr/bin/env bash
# The set-up's decisions on machines it cannot be tried on: scripts/setup and the 32-bit
# detection run against a fake apt-get, dpkg and dpkg-query on PATH and a fake Wine
# folder. Ends with "set-up decisions: N passed, M failed"; with a folder argument it also
# writes a report there that the test command counts.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every package the set-up needs, read from its own lists so that the two cannot part.
eval "$(awk '/^[a-z_]+_pkgs=\(/ { on = 1 } on { print } on && /\)/ { on = 0 }' "$here/scripts/setup")"
needed=("${native_pkgs[@]}" "${cross_pkgs[@]}" "${package_pkgs[@]}" "${test_pkgs[@]}")

mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
# apt as the case wants it: FAKE/update_fails updates fail, FAKE/refuse cannot be installed.
s=$FAKE
echo "apt-get $*" >>"$s/calls"
case "$1" in
  update)
    n=$(($(cat "$s/updates" 2>/dev/null || echo 0) + 1))
    echo "$n" >"$s/updates"
    if [ "$n" -le "$(cat "$s/update_fails" 2>/dev/null || echo 0)" ]; then
      echo "E: Failed to fetch http://security.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (61012 != 61456). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi ;;
  install)
    shift
    pkgs=()
    for a; do [[ $a == -* ]] || pkgs+=("$a"); done
    for p in "${pkgs[@]}"; do
      if grep -qx "$p" "$s/refuse" 2>/dev/null; then
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
      fi
    done
    for p in "${pkgs[@]}"; do
      echo "$p" >>"$s/installed"
      [ "$p" = wine32 ] && printf '#!/bin/sh\necho wine-8.0\n' >"$s/wine/wine" && chmod +x "$s/wine/wine"
    done ;;
esac
exit 0
FAKE
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
for p; do :; done
grep -qx "$p" "$FAKE/installed" 2>/dev/null || exit 1
printf 'install ok installed'
FAKE
cat >"$work/bin/dpkg" <<'FAKE'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE/calls"
case "$1" in
  --print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE/arches" ;;
  --remove-architecture) sed -i "/^$2\$/d" "$FAKE/arches" ;;
esac
FAKE
chmod +x "$work/bin"/*
# Kernels with and without 32-bit support: a program that answers as the probe does, and
# one the kernel refuses with "Exec format error".
printf '#!/bin/sh\nexit 32\n' >"$work/kernel32" && chmod +x "$work/kernel32"
printf '\177ELF\002\001\001\000\000\000\000\000\000\000\000\000\003\000\375\000' >"$work/foreign"
chmod +x "$work/foreign"

# A machine: every needed package installed but those named; KEY=VALUE lines for the state.
machine() {
  export FAKE=$work/case$((++cases))
  mkdir -p "$FAKE/wine" "$FAKE/build/deps/i686/lib" "$FAKE/build/deps/x86_64/lib"
  touch "$FAKE/build/deps/i686/lib/libpng.a" "$FAKE/build/deps/x86_64/lib/libpng.a" "$FAKE/calls"
  local p
  for p in "${needed[@]}"; do [[ " $* " == *" $p "* ]] || echo "$p" >>"$FAKE/installed"; done
  export ORVANE_BUILD=$FAKE/build ORVANE_WINE_DIR=$FAKE/wine ORVANE_I386_PROBE=$work/kernel32
}
setup() {
  PATH=$work/bin:$PATH ORVANE_APT_PAUSE=0 bash "$here/scripts/setup" >"$FAKE/out" 2>&1
  echo $? >"$FAKE/rc"
}
why() { (. "$here/scripts/lib/windows32.sh" && windows32_why); }

cases=0
passed=0
failures=()
check() {  # name, condition...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failures+=("$name")
    echo "FAILED: $name"
    sed "s/^/  | /" "$FAKE/out" 2>/dev/null
  fi
}
out_has() { grep -qF -- "$1" "$FAKE/out"; }
lines() { [ "$(wc -l <"$FAKE/out")" -eq "$1" ]; }
calls() { [ "$(grep -c -- "$1" "$FAKE/calls")" -eq "$2" ]; }
rc_is() { [ "$(cat "$FAKE/rc")" -eq "$1" ]; }
has() { grep -qx "$1" "$FAKE/installed"; }

# A failing index that reads at the second try leaves no trace; wine32 goes in and runs.
machine xvfb
echo 1 >"$FAKE/update_fails"
setup
check "index failing once is read again" eval 'rc_is 0 && calls "apt-get update" 2 && ! out_has "could not be read"'
check "missing package and wine32 installed" eval 'has xvfb && has wine32 && out_has "installed wine32" && ! why'

# An index failing every time: three tries, one line naming it, the rest installed from the others.
machine xvfb xdotool
echo 99 >"$FAKE/update_fails"
setup
check "index failing every time is passed over" eval 'rc_is 0 && calls "apt-get update" 3 && has xvfb && has xdotool'
check "the index is named in one line without apt's noise" eval \
  'out_has "setup: a package index could not be read, installing from the others: http://security.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz: File has unexpected size (61012 != 61456). Mirror sync in progress?" && ! out_has "[IP:" && ! out_has "E: " && lines 3'

# wine32 refused: the set-up succeeds, says why once, leaves no i386 architecture behind,
# and a second run asks apt nothing.
machine
echo wine32 >"$FAKE/refuse"
setup
check "wine32 refused ends nothing" eval 'rc_is 0 && ! has wine32 && [ ! -s "$FAKE/arches" ] && calls "add-architecture" 1'
check "wine32 refused is told in one line" eval \
  'lines 1 && out_has "setup: no 32-bit Wine: apt cannot install wine32 (Unable to correct problems, you have held broken packages.); Windows programs run as x86_64 builds"'
check "the reason reaches the scripts" eval \
  '[ "$(why)" = "no 32-bit Wine installed: apt cannot install wine32 (Unable to correct problems, you have held broken packages.)" ]'
: >"$FAKE/calls"
setup
check "a second run only checks" eval 'rc_is 0 && lines 0 && [ ! -s "$FAKE/calls" ]'

# A needed package apt cannot install fails the set-up, naming it; the others still go in.
machine xvfb xdotool
echo xvfb >"$FAKE/refuse"
setup
check "a needed package refused fails in one line naming it" eval \
  'rc_is 1 && has xdotool && out_has "setup: cannot install xvfb: Unable to correct problems, you have held broken packages." && lines 2'

# A kernel without 32-bit support: no i386 architecture, no apt, and the true reason.
machine
export ORVANE_I386_PROBE=$work/foreign
setup
check "no 32-bit kernel asks apt nothing" eval 'rc_is 0 && [ ! -s "$FAKE/calls" ] && out_has "this kernel cannot start 32-bit programs" && lines 1'
check "no 32-bit kernel is the reason" eval '[ "$(why)" = "no 32-bit support in its kernel" ]'

# A 32-bit loader that cannot execute: the kernel's refusal told apart from a broken Wine.
machine
echo wine32 >>"$FAKE/installed"
cp "$work/foreign" "$FAKE/wine/wine"
setup
check "an installed wine32 is not asked for again" eval 'rc_is 0 && lines 0 && [ ! -s "$FAKE/calls" ]'
check "a loader that does not start is said so" eval '[[ "$(why)" == "its 32-bit Wine is installed but does not start"* ]]'
export ORVANE_I386_PROBE=$work/foreign
check "the kernel's refusal comes first" eval '[ "$(why)" = "no 32-bit support in its kernel" ]'

# The real probe on this machine answers one way or the other, and never with a crash.
machine
unset ORVANE_I386_PROBE
check "the built-in probe answers" eval '(. "$here/scripts/lib/windows32.sh"; kernel_runs_32bit; [ $? -le 1 ])'

total=$((passed + ${#failures[@]}))
if [ $# -gt 0 ]; then
  mkdir -p "$1"
  {
    echo "<testsuites tests=\"$total\" failures=\"${#failures[@]}\" errors=\"0\" disabled=\"0\" name=\"setup_decisions\">"
    for f in "${failures[@]}"; do echo "  <failure message=\"$f\"/>"; done
    echo "</testsuites>"
  } >"$1/setup_decisions.xml"
fi
echo "set-up decisions: $passed passed, ${#failures[@]} failed"
[ ${#failures[@]} -eq 0 ]
