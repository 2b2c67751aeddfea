#!/bin/sh
# An installer from end to end, as an operator and a user meet it:
#
#   install_test.sh PROGRAM RUNTIME_LIBRARY REPORT [x64|x86]
#
# builds an installer of PROGRAM (the win64 or win32 tree's QvnClient.exe) with a runtime folder
# holding RUNTIME_LIBRARY (the runtime stand-in, playing the operator's libcef.dll) and a
# file in a subfolder, installs it silently into a fresh Wine prefix without a display,
# checks the files, the cache folder, the Start-menu shortcut and the entry in the list of
# installed programs, starts the installed program on a display of its own until its main window
# shows, closes it, runs the registered silent uninstall and checks that everything the
# installer made is gone. Each step is one case of the JUnit report REPORT; the steps after
# a failed build, install or uninstall are skipped. The prefix and the package are removed
# at the end.
set -u
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: install_test.sh PROGRAM RUNTIME_LIBRARY REPORT [x64|x86]" >&2; exit 2; }
root=$(CDPATH= cd "$(dirname "$0")/../.." && pwd)
program=$1
runtime_library=$2
# The x86 installer runs on 64-bit Windows as a 32-bit program: its folder is the 32-bit
# program-files folder and its registry keys are in the 32-bit view.
arch=${4:-x64}
case $arch in
  x64) other_arch=x86 programs="Program Files" view=/reg:64 ;;
  x86) other_arch=x64 programs="Program Files (x86)" view=/reg:32 ;;
  *) echo "install_test.sh: no architecture $arch" >&2; exit 2 ;;
esac
mkdir -p "$(dirname "$3")"
report="$(CDPATH= cd "$(dirname "$3")" && pwd)/$(basename "$3")"
# Window titles and the product's name are Korean: every tool reads UTF-8.
export LC_ALL=C.UTF-8

product="QVN 분석프로그램"
version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$root/installer/qvn.nsi")
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QvnClient'
prefix="${QVN_PREFIXES:-$root/build}/wineprefix-install-$$"
work="$root/build/install-test-$$"
folder="QVN Client"
install_dir="$prefix/drive_c/$programs/$folder"
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
wine="$root/scripts/wine"
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$prefix" QVN_GUI_WINEPREFIX="$prefix"

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
  (
    set -e
    "$@"
  ) >"$work/step.log" 2>&1
  status=$?
  cat "$work/step.log"
  if [ "$status" -eq 0 ]; then
    echo "<testcase name=\"$name\" classname=\"installer\"/>" >>"$cases"
  else
    [ "$kind" = gate ] && failed_step=$name
    message=$(tail -n 1 "$work/step.log")
    echo "<testcase name=\"$name\" classname=\"installer\"><failure message=\"$(xml_text "$message")\"/></testcase>" >>"$cases"
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
  $without_display "$wine" reg export "$uninstall_key" 'Z:'"$(printf '%s' "$work/entry.reg" | tr / '\\')" /y $view >/dev/null 2>&1 &&
    iconv -f UTF-16 -t UTF-8 "$work/entry.reg" | tr -d '\r'
}

# NAME: the value's right-hand side as the export writes it.
entry_value() { sed -n "s/^\"$1\"=//p" "$work/entry.txt"; }

# The registry export's form of a string: backslashes and quotes escaped, in quotes.
reg_string() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }

build_installer() {
  mkdir -p "$work/runtime/locales" &&
    cp "$runtime_library" "$work/runtime/libcef.dll" &&
    printf 'runtime resource\n' >"$work/runtime/locales/ko.pak" &&
    "$root/installer/make-setup" $arch "$program" "$work/package/QvnClient-setup-$arch.exe" "$work/runtime" &&
    [ -s "$work/package/QvnClient-setup-$arch.exe" ] || fail "no installer was made"
}

# The operator's mistakes that would ship a broken or foreign package are refused.
refuses_wrong_inputs() {
  "$root/installer/make-setup" $other_arch "$program" "$work/wrong/arch.exe" && fail "a $arch program was packed as $other_arch"
  mkdir -p "$work/updater-runtime" && cp "$work/runtime/libcef.dll" "$work/updater-runtime/" &&
    printf 'not a library\n' >"$work/updater-runtime/XmlLoader.dll" || fail "could not prepare"
  "$root/installer/make-setup" $arch "$program" "$work/wrong/updater.exe" "$work/updater-runtime" &&
    fail "the updater's library was packed"
  mkdir -p "$work/no-runtime" && printf 'x\n' >"$work/no-runtime/icudt.dll"
  "$root/installer/make-setup" $arch "$program" "$work/wrong/none.exe" "$work/no-runtime" &&
    fail "a runtime folder without libcef.dll was packed"
  [ ! -e "$work/wrong/arch.exe" ] && [ ! -e "$work/wrong/updater.exe" ] && [ ! -e "$work/wrong/none.exe" ] ||
    fail "a refused installer was written"
}

silent_install() {
  # scripts/wine makes the fresh prefix (wineboot --init) on its first use.
  timeout 300 $without_display "$wine" cmd /c exit >/dev/null 2>&1 || fail "the fresh prefix could not be made"
  timeout 120 $without_display "$wine" "$work/package/QvnClient-setup-$arch.exe" /S || fail "the silent install failed ($?)"
  timeout 60 "$wineserver" -w
}

installed_files() {
  cmp "$program" "$install_dir/QvnClient.exe" || fail "QvnClient.exe is not the built program"
  cmp "$runtime_library" "$install_dir/libcef.dll" || fail "libcef.dll is not the runtime folder's"
  cmp "$work/runtime/locales/ko.pak" "$install_dir/locales/ko.pak" || fail "the runtime's subfolder was not installed"
  [ -f "$install_dir/uninstall.exe" ] || fail "no uninstaller"
  for foreign in XmlLoader.dll AutoUpdate.exe libcef_probe.dll libcef_nozip.dll; do
    [ ! -e "$install_dir/$foreign" ] || fail "the installer put $foreign into the program's folder"
  done
  ls -A "$install_dir"
}

# The runtime's cache folder, made by the installer for users who may not write beside the
# program. Wine's icacls is a stub, so the grant is read from the installer's command: modify,
# inherited by files and folders, for the Users group by its identifier.
cache_folder() {
  [ -d "$install_dir/cache" ] || fail "no cache folder beside the program"
  grep -qF "nsExec::ExecToLog '\"\$SYSDIR\\icacls.exe\" \"\$INSTDIR\\cache\" /grant *S-1-5-32-545:(OI)(CI)M'" \
    "$root/installer/qvn.nsi" || fail "the installer does not grant the Users group the modify right on the cache"
}

start_menu_shortcut() {
  [ -f "$shortcut" ] || fail "no shortcut at $shortcut"
  file_hex "$shortcut" | grep -q "$(utf16_hex "C:\\$programs\\$folder\\QvnClient.exe")" ||
    fail "the shortcut does not name the installed program"
}

uninstall_entry() {
  export_entry >"$work/entry.txt" || fail "no uninstall entry under $uninstall_key"
  cat "$work/entry.txt"
  location="C:\\$programs\\$folder"
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
  QVN_WORK="$work" QVN_SHORTCUT="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$product.lnk" \
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
  echo "running: $quiet"
  # The arguments are split as the system splits "/S": one word.
  timeout 120 $without_display "$wine" "$command" $arguments || fail "the silent uninstall failed ($?)"
  timeout 120 "$wineserver" -w || fail "the uninstaller did not end"
}

everything_removed() {
  [ ! -e "$install_dir" ] || { ls -RA "$install_dir"; fail "the program's folder is still there"; }
  [ ! -e "$shortcut" ] || fail "the shortcut is still there"
  $without_display "$wine" reg query "$uninstall_key" $view >/dev/null 2>&1 && fail "the uninstall entry is still there"
  [ -d "$prefix/drive_c/$programs" ] || fail "the uninstaller removed more than its own folder"
  [ -d "$(dirname "$shortcut")" ] || fail "the uninstaller removed the Start-menu folder"
}

run gate builds_installer build_installer
run check refuses_wrong_inputs refuses_wrong_inputs
run gate silent_install silent_install
run check installed_files installed_files
run check cache_folder cache_folder
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
