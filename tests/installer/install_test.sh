#!/bin/sh
# One installer from end to end, as an operator and a user meet it:
#
#   install_test.sh --make DIR PROGRAM RUNTIME_LIBRARY ARCH
#   install_test.sh [--made DIR] PROGRAM RUNTIME_LIBRARY REPORT [ARCH]
#
# The first form builds the ARCH installer (x64 or x86) of PROGRAM (that architecture's
# QvnClient.exe) into DIR, with a runtime folder holding RUNTIME_LIBRARY (the runtime
# stand-in of the same architecture, playing the operator's libcef.dll) and a file in a
# subfolder; the build does this, so that makensis runs on the build machine and not in an
# emulated guest. The second form (ARCH x64 by default) takes the installer from DIR, or
# builds it first without --made, checks that wrong inputs are refused, installs it
# silently into a fresh Wine prefix without a display, checks that it went to the user's
# own folder and hive (the files, the cache folder, the Start-menu shortcut and the entry in
# the list of installed programs) and nothing to Program Files or HKLM, starts the installed
# program on a display of its own until its main window shows, closes it, runs the
# registered silent uninstall and checks that everything the installer made is gone. Each
# step is one case of the JUnit report REPORT; the steps after a failed build, install or
# uninstall are skipped. The prefix and whatever the run made are removed at the end.
set -u
usage() {
  echo "usage: install_test.sh --make DIR PROGRAM RUNTIME_LIBRARY x64|x86" >&2
  echo "       install_test.sh [--made DIR] PROGRAM RUNTIME_LIBRARY REPORT [x64|x86]" >&2
  exit 2
}
root=$(CDPATH= cd "$(dirname "$0")/../.." && pwd)
mode=test
made=""
case "${1:-}" in
  --make) [ $# -eq 5 ] || usage; mode=make; made=$2; shift 2 ;;
  --made) [ $# -ge 2 ] || usage; made=$2; shift 2 ;;
esac
if [ "$mode" = test ]; then
  [ $# -eq 3 ] || [ $# -eq 4 ] || usage
  mkdir -p "$(dirname "$3")"
  report="$(CDPATH= cd "$(dirname "$3")" && pwd)/$(basename "$3")"
  arch=${4:-x64}
else
  arch=$3
fi
program=$1
runtime_library=$2
case $arch in
  x64) other_arch=x86 ;;
  x86) other_arch=x64 ;;
  *) echo "install_test.sh: ARCH must be x64 or x86, not '$arch'" >&2; exit 2 ;;
esac
setup_name="QvnClient-setup-$arch.exe"
# Window titles and the product's name are Korean: every tool reads UTF-8.
export LC_ALL=C.UTF-8

product="QVN 분석프로그램"
version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$root/installer/qvn.nsi")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QvnClient'
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QvnClient'
prefix="${QVN_PREFIXES:-$root/build}/wineprefix-install-$$"
work="$root/build/install-test-$$"
# The installer and the runtime folder it was made from.
kit=${made:-$work/kit}
folder="QVN Client"
# The user's folders, as Wine makes them for the user it runs as; set once the prefix exists.
user_dir=""
install_dir=""
shortcut=""
wine="$root/scripts/wine"
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$prefix" QVN_GUI_WINEPREFIX="$prefix"

xml_text() { printf '%s' "$*" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g'; }

# KIND NAME CHECK: runs the check (a shell function) in a subshell that stops at the first
# failing command, unless a gate failed before; its last line of output on failure is the
# case's message. A failed "gate" skips every later step, a failed "check" does not. The
# subshell is not run as a condition, which would switch -e off.
run() {
  kind=$1
  name=$2
  shift 2
  if [ -n "$failed_step" ]; then
    echo "<testcase name=\"$name\" classname=\"installer\"><skipped message=\"after $failed_step failed\"/></testcase>" >>"$cases"
    return
  fi
  echo "== $name"
  step_started=$(date +%s)
  (
    set -e
    "$@"
  ) >"$work/step.log" 2>&1
  status=$?
  seconds=$(($(date +%s) - step_started))
  cat "$work/step.log"
  echo "($seconds s)"
  if [ "$status" -eq 0 ]; then
    echo "<testcase name=\"$name\" classname=\"installer\" time=\"$seconds\"/>" >>"$cases"
  else
    [ "$kind" = gate ] && failed_step=$name
    message=$(tail -n 1 "$work/step.log")
    echo "<testcase name=\"$name\" classname=\"installer\" time=\"$seconds\"><failure message=\"$(xml_text "$message")\"/></testcase>" >>"$cases"
    echo "FAILED: $name"
  fi
}

write_report() {
  total=$(grep -c '<testcase' "$cases")
  failures=$(grep -c '<failure' "$cases")
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites tests=\"$total\" failures=\"$failures\" errors=\"0\">"
    echo "<testsuite name=\"installer\" tests=\"$total\" failures=\"$failures\" errors=\"0\">"
    cat "$cases"
    echo '</testsuite>'
    echo '</testsuites>'
  } >"$report.tmp" && mv "$report.tmp" "$report"
}

fail() {
  echo "$*"
  return 1
}

# The silent runs must not need a display.
without_display="env -u DISPLAY -u WAYLAND_DISPLAY"

# The UTF-16 bytes of a text in hexadecimal, to look for it in a binary file.
utf16_hex() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -t x1 | tr -d ' \n'; }
file_hex() { od -An -v -t x1 "$1" | tr -d ' \n'; }

# The uninstall entry, exported by the registry tool as UTF-8 text (its query prints
# through the console's code page, which has no Korean).
export_entry() {
  rm -f "$work/entry.reg"
  $without_display "$wine" reg export "$uninstall_key" 'Z:'"$(printf '%s' "$work/entry.reg" | tr / '\\')" /y >/dev/null 2>&1 &&
    iconv -f UTF-16 -t UTF-8 "$work/entry.reg" | tr -d '\r'
}

# NAME: the value's right-hand side as the export writes it.
entry_value() { sed -n "s/^\"$1\"=//p" "$work/entry.txt"; }

# The registry export's form of a string: backslashes and quotes escaped, in quotes.
reg_string() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }

# A path in the prefix as the programs in it see it (C:\...).
windows_path_of() { printf 'C:%s' "${1#"$prefix/drive_c"}" | tr / '\\'; }
windows_install_dir() { windows_path_of "$install_dir"; }

build_installer() {
  rm -rf "$kit/runtime" "$kit/package"
  mkdir -p "$kit/runtime/locales" &&
    cp "$runtime_library" "$kit/runtime/libcef.dll" &&
    printf 'runtime resource\n' >"$kit/runtime/locales/ko.pak" &&
    "$root/installer/make-setup" "$arch" "$program" "$kit/package/$setup_name" "$kit/runtime" &&
    [ -s "$kit/package/$setup_name" ] || fail "no installer was made"
}

if [ "$mode" = make ]; then
  build_installer
  exit
fi

# The test's own prefix and work folder, from here on.
cleanup() {
  [ -d "$prefix" ] && "$wineserver" -k >/dev/null 2>&1
  rm -rf "$prefix" "$prefix.lock" "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cases="$work/cases"
mkdir -p "$work"
: >"$cases"
failed_step=""

# The installer the build made is this program's, with this runtime.
installer_made() {
  [ -s "$kit/package/$setup_name" ] || fail "no $setup_name in $kit/package: the build makes it"
  cmp "$runtime_library" "$kit/runtime/libcef.dll" || fail "the installer in $kit was made with another runtime"
  [ ! "$program" -nt "$kit/package/$setup_name" ] || fail "the installer in $kit is older than $program"
}

# The operator's mistakes that would ship a broken or foreign package are refused.
refuses_wrong_inputs() {
  "$root/installer/make-setup" "$other_arch" "$program" "$work/wrong/arch.exe" && fail "an $arch program was packed as $other_arch"
  mkdir -p "$work/updater-runtime" && cp "$runtime_library" "$work/updater-runtime/libcef.dll" &&
    printf 'not a library\n' >"$work/updater-runtime/XmlLoader.dll" || fail "could not prepare"
  "$root/installer/make-setup" "$arch" "$program" "$work/wrong/updater.exe" "$work/updater-runtime" &&
    fail "the updater's library was packed"
  mkdir -p "$work/no-runtime" && printf 'x\n' >"$work/no-runtime/icudt.dll"
  "$root/installer/make-setup" "$arch" "$program" "$work/wrong/none.exe" "$work/no-runtime" &&
    fail "a runtime folder without libcef.dll was packed"
  [ ! -e "$work/wrong/arch.exe" ] && [ ! -e "$work/wrong/updater.exe" ] && [ ! -e "$work/wrong/none.exe" ] ||
    fail "a refused installer was written"
}

silent_install() {
  # scripts/wine makes the fresh prefix (wineboot --init) on its first use.
  timeout 300 $without_display "$wine" cmd /c exit >/dev/null 2>&1 || fail "the fresh prefix could not be made"
  timeout 120 $without_display "$wine" "$kit/package/$setup_name" /S || fail "the silent install failed ($?)"
  timeout 60 "$wineserver" -w
}

# The user's own folders in the prefix, found by the program folder in one of them; set in
# the script's own shell (the steps run in subshells).
locate_user_folders() {
  found=$(find "$prefix/drive_c/users" -mindepth 5 -maxdepth 5 -path "*/AppData/Local/Programs/$folder" 2>/dev/null | head -n 1)
  [ -n "$found" ] || return 0
  user_dir=${found%/AppData/Local/Programs/*}
  install_dir=$found
  shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product.lnk"
}

user_folders() {
  [ -n "$install_dir" ] || fail "no \"$folder\" in a user's AppData\\Local\\Programs"
  echo "installed into $install_dir"
}

installed_files() {
  cmp "$program" "$install_dir/QvnClient.exe" || fail "QvnClient.exe is not the built program"
  cmp "$runtime_library" "$install_dir/libcef.dll" || fail "libcef.dll is not the runtime folder's"
  cmp "$kit/runtime/locales/ko.pak" "$install_dir/locales/ko.pak" || fail "the runtime's subfolder was not installed"
  [ -f "$install_dir/uninstall.exe" ] || fail "no uninstaller"
  for foreign in XmlLoader.dll AutoUpdate.exe libcef_probe.dll libcef_nozip.dll; do
    [ ! -e "$install_dir/$foreign" ] || fail "the installer put $foreign into the program's folder"
  done
  ls -A "$install_dir"
}

# The runtime's cache folder lies beside the program, so in the user's own folder.
cache_folder() {
  [ -d "$install_dir/cache" ] || fail "no cache folder beside the program"
}

# Nothing of the installation is the machine's: no program folder under Program Files, no
# shortcut for all users, no entry in HKLM.
nothing_for_the_machine() {
  for dir in "Program Files" "Program Files (x86)"; do
    [ ! -e "$prefix/drive_c/$dir/$folder" ] || fail "the installer wrote into $dir"
  done
  [ ! -e "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk" ] ||
    fail "a shortcut for all users was made"
  $without_display "$wine" reg query "$machine_key" >/dev/null 2>&1 && fail "an entry was written to HKLM"
  return 0
}

start_menu_shortcut() {
  [ -f "$shortcut" ] || fail "no shortcut at $shortcut"
  file_hex "$shortcut" | grep -q "$(utf16_hex "$(windows_install_dir)\\QvnClient.exe")" ||
    fail "the shortcut does not name the installed program"
}

uninstall_entry() {
  export_entry >"$work/entry.txt" || fail "no uninstall entry under $uninstall_key"
  cat "$work/entry.txt"
  location=$(windows_install_dir)
  for expected in \
    "DisplayName=$(reg_string "$product")" \
    "DisplayVersion=$(reg_string "$version")" \
    "DisplayIcon=$(reg_string "\"$location\\QvnClient.exe\",0")" \
    "InstallLocation=$(reg_string "$location")" \
    "UninstallString=$(reg_string "\"$location\\uninstall.exe\"")" \
    "QuietUninstallString=$(reg_string "\"$location\\uninstall.exe\" /S")" \
    "NoModify=dword:00000001" \
    "NoRepair=dword:00000001"; do
    [ "$(entry_value "${expected%%=*}")" = "${expected#*=}" ] || fail "expected ${expected}"
  done
  [ -n "$(entry_value Publisher)" ] || fail "no Publisher"
}

# On a display of its own: the installed program shows its main window (after the
# message that the updater's library, which this installer does not deploy, is missing)
# and ends on a close request as the close button makes it.
program_runs() {
  QVN_WORK="$work" QVN_SHORTCUT="$(windows_path_of "$shortcut")" \
    QVN_WINE="$wine" QVN_PRODUCT="$product" timeout 240 "$root/scripts/with-display" sh -c '
    cd "$QVN_WORK" || exit 1
    "$QVN_WINE" start /wait "$QVN_SHORTCUT" &
    program=$!
    windows() { xwininfo -root -tree 2>/dev/null; }
    shown=""
    for i in $(seq 1 300); do
      box=$(windows | awk "/\"QVN\": \\(\"qvnclient.exe\"/ {print \$1; exit}")
      # The updater library is missing: the message is confirmed as a user would.
      [ -n "$box" ] && xdotool key --window "$box" Return >/dev/null 2>&1
      if windows | grep -q "\"$QVN_PRODUCT\": (\"qvnclient.exe\".* 1058x745"; then shown=yes; break; fi
      sleep 0.2
    done
    if [ -z "$shown" ]; then
      windows | grep -v "has no name"
      "$QVN_WINE" taskkill /f /im QvnClient.exe >/dev/null 2>&1
      echo "the main window did not appear"
      exit 1
    fi
    echo "the main window appeared"
    "$QVN_WINE" taskkill /im QvnClient.exe >/dev/null 2>&1
    for i in $(seq 1 100); do
      kill -0 $program 2>/dev/null || break
      sleep 0.2
    done
    if kill -0 $program 2>/dev/null; then
      "$QVN_WINE" taskkill /f /im QvnClient.exe >/dev/null 2>&1
      echo "the program did not end on the close request"
      exit 1
    fi
    wait $program || { echo "the program ended with $?"; exit 1; }
  ' || fail "the installed program did not run as expected"
  timeout 60 "$wineserver" -w
}

# The registered silent uninstall, run as the system's list of programs runs it. The
# uninstaller copies itself to the temporary folder and returns at once, so that it can
# remove its own file; the wait is for every process of the prefix to end.
silent_uninstall() {
  export_entry >"$work/entry.txt" || fail "the uninstall entry is gone before the uninstall"
  quiet=$(entry_value QuietUninstallString | sed 's/^"//; s/"$//; s/\\\\/\\/g; s/\\"/"/g')
  command=$(printf '%s' "$quiet" | sed -n 's/^"\([^"]*\)" \(.*\)$/\1/p')
  arguments=$(printf '%s' "$quiet" | sed -n 's/^"\([^"]*\)" \(.*\)$/\2/p')
  [ -n "$command" ] || fail "QuietUninstallString is not a quoted command: $quiet"
  printf "running: %s\n" "$quiet"
  # The arguments are split as the system splits "/S": one word.
  timeout 120 $without_display "$wine" "$command" $arguments || fail "the silent uninstall failed ($?)"
  timeout 120 "$wineserver" -w || fail "the uninstaller did not end"
}

everything_removed() {
  [ ! -e "$install_dir" ] || { ls -RA "$install_dir"; fail "the program's folder is still there"; }
  [ ! -e "$shortcut" ] || fail "the shortcut is still there"
  $without_display "$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
  [ -d "$user_dir/AppData/Local/Programs" ] || fail "the uninstaller removed more than its own folder"
  [ -d "$(dirname "$shortcut")" ] || fail "the uninstaller removed the Start-menu folder"
}

if [ -n "$made" ]; then
  run gate installer_made installer_made
else
  run gate builds_installer build_installer
fi
run check refuses_wrong_inputs refuses_wrong_inputs
run gate silent_install silent_install
locate_user_folders
run gate user_folders user_folders
run check installed_files installed_files
run check cache_folder cache_folder
run check nothing_for_the_machine nothing_for_the_machine
run check start_menu_shortcut start_menu_shortcut
run check uninstall_entry uninstall_entry
run check installed_program_runs program_runs
run gate silent_uninstall silent_uninstall
run check everything_removed everything_removed
write_report
total=$(grep -c '<testcase' "$cases")
failures=$(grep -c '<failure' "$cases")
skipped=$(grep -c '<skipped' "$cases")
echo "installer: $((total - failures - skipped)) passed, $failures failed, $skipped skipped"
[ "$failures" -eq 0 ]
