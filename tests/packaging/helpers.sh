# Sourced by tests/packaging/run: throwaway prefixes, checks, and what the tests ask
# of a prefix (files, registry keys in either view, the running program).

passed=0
failed=0
case_failures=0
case_name=
case_start=0

# A case is the checks between begin_case and end_case; it passes when none failed.
begin_case() {
  case_name=$1
  case_failures=0
  case_start=$SECONDS
  echo "-- $case_name"
}
end_case() {
  if [ "$case_failures" -eq 0 ]; then
    passed=$((passed + 1))
    echo "   ok ($((SECONDS - case_start)) s)"
  else
    failed=$((failed + 1))
    echo "   FAILED: $case_name"
  fi
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  return 0
}
fail() {
  echo "   failed: $*"
  case_failures=$((case_failures + 1))
}
expect() {  # DESCRIPTION COMMAND...: the command succeeds
  local what=$1
  shift
  "$@" >/dev/null 2>&1 || fail "$what"
}
expect_not() {  # DESCRIPTION COMMAND...: the command fails
  local what=$1
  shift
  ! "$@" >/dev/null 2>&1 || fail "$what"
}

# Every case gets a copy of one prepared prefix: a fresh one takes a dozen seconds, a
# copy about one.
prepare_base_prefix() {
  base_prefix=$work/prefix-base
  rm -rf "$base_prefix"
  ORVANE_WINEPREFIX=$base_prefix "$here/scripts/wine-run" cmd /c exit >/dev/null 2>&1
  WINEPREFIX=$base_prefix wineserver -w
  [ -f "$base_prefix/system.reg" ]
}
new_prefix() {  # NAME: a copy of the prepared prefix, made the current one
  export ORVANE_WINEPREFIX=$work/prefix-$1
  export WINEPREFIX=$ORVANE_WINEPREFIX
  rm -rf "$WINEPREFIX"
  cp -a "$base_prefix" "$WINEPREFIX"
}
w() { "$here/scripts/wine-run" "$@"; }
# Waits until every program of the prefix has ended (an uninstaller that restarted itself
# from the temporary folder, a custom action), within a limit.
settle() { timeout 120 wineserver -w; }

# Registry, through the prefix's own reg.exe, in the 32- or 64-bit view.
has_key() { w reg query "$2" "/reg:$1" >/dev/null 2>&1; }
reg_value() {  # VIEW KEY [NAME]: prints the value's data; without NAME the default value's
  local ask=(/ve) name='(Default)'
  [ -n "${3:-}" ] && ask=(/v "$3") name=$3
  w reg query "$2" "${ask[@]}" "/reg:$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$name *REG_[A-Z_]* *//p" | head -n 1
}
# The Uninstall entries of this product, in either view.
uninstall_entries() {
  local view
  for view in 32 64; do
    w reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s "/reg:$view" 2>/dev/null |
      tr -d '\r' | grep -i "DisplayName *REG_SZ *$product\$"
  done
}

clsid='{5D1E7A42-3C9B-4F08-A6D2-9B71E0C4F315}'
handler_keys=('*' Directory 'Directory\Background' Drive)

# The module's class and handler keys in VIEW, naming MODULE (a Windows path).
expect_registered() {  # VIEW MODULE
  local type data
  data=$(reg_value "$1" "HKCR\\CLSID\\$clsid\\InProcServer32")
  [ "${data,,}" = "${2,,}" ] || fail "the $1-bit class names '$data', not '$2'"
  for type in "${handler_keys[@]}"; do
    has_key "$1" "HKCR\\$type\\shellex\\ContextMenuHandlers\\$clsid" ||
      fail "no $1-bit handler key for $type"
  done
}
expect_unregistered() {  # no class or handler key left, in either view
  local view type
  for view in 32 64; do
    has_key "$view" "HKCR\\CLSID\\$clsid" && fail "a $view-bit class key is left"
    for type in "${handler_keys[@]}"; do
      has_key "$view" "HKCR\\$type\\shellex\\ContextMenuHandlers\\$clsid" &&
        fail "a $view-bit handler key is left for $type"
    done
  done
  return 0
}

# Registers the installed modules as the dynamic items switch does: each with the
# regsvr32 of its bitness, where this machine runs it.
register_modules() {  # INSTALL-FOLDER (Windows path)
  w regsvr32 /s "$1\\x64\\OVShlExt.DLL" || fail "regsvr32 of the 64-bit module failed"
  expect_registered 64 "$1\\x64\\OVShlExt.DLL"
  if [ "$runs_32bit" = yes ]; then
    w 'C:\windows\syswow64\regsvr32.exe' /s "$1\\OVShlExt.DLL" || fail "regsvr32 of the 32-bit module failed"
    expect_registered 32 "$1\\OVShlExt.DLL"
  fi
}

# The installed program shows its main window; a screenshot of it is kept.
expect_program_starts() {  # PROGRAM (Windows path) SCREENSHOT
  w "$1" >/dev/null 2>&1 &
  local pid=$!
  if timeout 90 xdotool search --sync --onlyvisible --name "^$product\$" >/dev/null 2>&1; then
    import -window root "$2" 2>/dev/null
    w taskkill /im orvane.exe >/dev/null 2>&1
  else
    fail "the installed program showed no main window within 90 s"
    describe_screen "${2%.png}-no-window.png"
    # What is left running would hold its files and spoil the rest of the case.
    wineserver -k 2>/dev/null
  fi
  timeout 60 tail --pid="$pid" -f /dev/null || kill "$pid" 2>/dev/null
  settle
}

# What the screen and the prefix's processes were when a window did not come.
describe_screen() {  # SCREENSHOT
  local id names
  import -window root "$1" 2>/dev/null && echo "   the screen then: $1"
  names=$(for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    xdotool getwindowname "$id" 2>/dev/null; done | sort -u | tr '\n' '|')
  echo "   visible windows: ${names:-none}"
  echo "   Windows programs running: $(pgrep -a -f '\.exe' 2>/dev/null | sed 's/^[0-9]* //' | tr '\n' '|')"
}

# What a user has beside the program: the menu file and a backup.
write_user_files() {  # INSTALL-FOLDER (Unix path)
  mkdir -p "$1/Backups"
  if [ ! -f "$1/Orvane.ini" ]; then
    printf '[Dynamic Items]\r\nCount=1\r\nItem0=Notes|notepad.exe "%%1"\r\n' >"$1/Orvane.ini"
  fi
  printf 'REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\txtfile\\shell\\print]\r\n@="Print"\r\n' \
    >"$1/Backups/backup-test.reg"
  sha1sum "$1/Orvane.ini" "$1/Backups/backup-test.reg" >"$work/user-files.sha1"
}
expect_user_files_kept() {
  sha1sum --quiet -c "$work/user-files.sha1" >/dev/null 2>&1 || fail "the menu file or a backup changed or went"
}

# Files the package put there, relative to the install folder, one a line, sorted.
installed_files() {  # INSTALL-FOLDER (Unix path)
  (cd "$1" && find . -type f ! -name uninstall.exe ! -name Orvane.ini ! -path './Backups/*' |
    sed 's|^\./||' | LC_ALL=C sort)
}
