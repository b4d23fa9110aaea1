#!/bin/bash
# Installs the build tree into a temporary prefix, checks that every file went
# where a Linux desktop looks for it, and starts the installed program the way a
# user would: through bin/lexorvia, offscreen, as someone who cannot write to
# the installation. The program must come up, keep its settings in the per-user
# folder (following XDG_CONFIG_HOME), find its resource module, and leave the
# installation as it was.
#
# check-install.sh CMAKE BUILD_DIR PROBE_MODULE

set -u
cmake=$1
build=$2
probe_module=$3
settings_name=Zudadir2Evidivezav.ini

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() {
  echo "ok: $*"
}
finish() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  exit 0
}

tmp=$(mktemp -d "${TMPDIR:-/tmp}/lexorvia-install.XXXXXX") || exit 1
tmp=$(realpath "$tmp")
pid=
# shellcheck disable=SC2317 # called by the trap
cleanup() {
  if [[ -n $pid ]]; then
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  chmod -R u+w "$tmp" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

prefix=$tmp/prefix
if ! "$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log" >&2
  fail "cmake --install failed"
  finish
fi

# --- The layout -------------------------------------------------------------

is_elf() { [[ -f $1 && $(head -c 4 "$1" | od -An -c | tr -d ' ') == '177ELF' ]]; }

private=$prefix/lib/lexorvia
if is_elf "$private/lexorvia" && [[ -x $private/lexorvia ]]; then
  pass "program in lib/lexorvia"
else
  fail "lib/lexorvia/lexorvia is not an executable program"
fi
if is_elf "$private/MorvaneSys.DLL"; then
  pass "MorvaneSys.DLL beside the program"
else
  fail "lib/lexorvia/MorvaneSys.DLL is missing or no shared object"
fi
extra=$(find "$private" -mindepth 1 -maxdepth 1 ! -name lexorvia ! -name MorvaneSys.DLL -printf '%f ' 2>/dev/null)
[[ -z $extra ]] || fail "unexpected files in lib/lexorvia: $extra"

launcher=$prefix/bin/lexorvia
if [[ -L $launcher ]]; then
  target=$(readlink "$launcher")
  [[ $target == /* ]] && fail "bin/lexorvia points to an absolute path ($target); a staged install would break"
  if [[ $(realpath "$launcher") == "$private/lexorvia" ]]; then
    pass "bin/lexorvia -> $target"
  else
    fail "bin/lexorvia leads to $(realpath -m "$launcher"), not lib/lexorvia/lexorvia"
  fi
elif [[ -f $launcher && -x $launcher ]]; then
  pass "bin/lexorvia is a launcher script"
else
  fail "bin/lexorvia is missing"
fi

if command -v readelf >/dev/null; then
  for elf in "$private/lexorvia" "$private/MorvaneSys.DLL"; do
    if readelf -d "$elf" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
      fail "$(basename "$elf") still searches the build tree for libraries"
    fi
  done
fi

desktop=$prefix/share/applications/lexorvia.desktop
if [[ -f $desktop ]]; then
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ ${exec_line%% *} == lexorvia && -e $prefix/bin/${exec_line%% *} ]] \
    || fail "the desktop entry's Exec ($exec_line) is not the installed bin/lexorvia"
  [[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] \
    || fail "the desktop entry's Icon ($icon) is not in share/icons/hicolor/scalable/apps"
  grep -qx 'Type=Application' "$desktop" || fail "the desktop entry is no application"
  pass "desktop entry, Exec=$exec_line Icon=$icon"
else
  fail "share/applications/lexorvia.desktop is missing"
fi

svg=$prefix/share/icons/hicolor/scalable/apps/lexorvia.svg
if [[ -f $svg ]] && grep -q '<svg[ >]' "$svg" && grep -q 'viewBox=' "$svg"; then
  pass "icon share/icons/hicolor/scalable/apps/lexorvia.svg"
else
  fail "share/icons/hicolor/scalable/apps/lexorvia.svg is missing or no scalable SVG picture"
fi

metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
if [[ ${#metainfo[@]} -eq 1 && -f ${metainfo[0]} ]]; then
  id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "${metainfo[0]}")
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "${metainfo[0]}")
  [[ $(basename "${metainfo[0]}") == "$id.metainfo.xml" ]] \
    || fail "the metainfo file $(basename "${metainfo[0]}") is not named after its id ($id)"
  [[ -n $launchable && -f $prefix/share/applications/$launchable ]] \
    || fail "the metainfo's launchable ($launchable) is not an installed desktop entry"
  pass "metainfo $id, launchable $launchable"
else
  fail "expected one AppStream metainfo file in share/metainfo"
fi

# Debian's validators, when they are installed.
if command -v desktop-file-validate >/dev/null && [[ -f $desktop ]]; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null && [[ -f ${metainfo[0]} ]]; then
  out=$(appstreamcli validate --no-net "${metainfo[0]}" 2>&1) || fail "appstreamcli validate: $out"
fi

((failures)) && finish

# --- The installed program --------------------------------------------------

# An installation belongs to someone other than its users: no one may write to
# it, and root runs the program as "nobody" (root may write anywhere).
chmod -R a-w "$prefix"
chmod 755 "$tmp"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  nobody=$(id -u nobody 2>/dev/null) || { fail "no user 'nobody' to run the program as"; finish; }
  nogroup=$(id -g nobody)
  command -v setpriv >/dev/null || { fail "setpriv is needed to run the program as nobody"; finish; }
  as_user=(setpriv --reuid="$nobody" --regid="$nogroup" --clear-groups)
fi
user_dir() {
  mkdir -p "$1"
  [[ ${#as_user[@]} -gt 0 ]] && chown "$nobody:$nogroup" "$1"
  chmod 700 "$1"
}
cp "$probe_module" "$tmp/probe.so" && chmod 644 "$tmp/probe.so"

snapshot() { (cd "$prefix" && find . -printf '%p %y %s %T@ %m %l\n' | sort); }
snapshot >"$tmp/prefix.before"

# prepare NAME: a fresh home and configuration folder for one run.
prepare() {
  name=$1
  home=$tmp/$name/home
  config=$tmp/$name/config
  log=$tmp/$name/log
  user_dir "$tmp/$name"
  user_dir "$home"
  user_dir "$config"
  user_dir "$tmp/$name/runtime"
}
# start [VAR=value...]: starts the installed program in the background.
start() {
  (cd "$home" && exec "${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME="$home" XDG_CONFIG_HOME="$config" XDG_CACHE_HOME="$home/.cache" \
    XDG_RUNTIME_DIR="$tmp/$name/runtime" QT_QPA_PLATFORM=offscreen "$@" \
    "$launcher" >"$log" 2>&1) &
  pid=$!
}
stop() {
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  pid=
}

# 1. It starts and stays up, and the settings go to the per-user folder.
prepare plain
start
sleep 1
if kill -0 "$pid" 2>/dev/null; then
  pass "the installed program is running after 1 s"
else
  wait "$pid"
  fail "the installed program ended at once (exit status $?):"
  cat "$log" >&2
  pid=
fi
stop
if [[ -d $config/Lexorvia ]]; then
  pass "settings folder \$XDG_CONFIG_HOME/Lexorvia"
else
  fail "the program did not take \$XDG_CONFIG_HOME/Lexorvia for its settings"
fi
[[ -e $home/.config ]] && fail "the program used ~/.config although XDG_CONFIG_HOME is set"

# 2. It sees lib/lexorvia as its folder and loads its animation from the
# module there. The settings send the request to a closed local port.
prepare probe
user_dir "$config/Lexorvia"
printf '[Connection]\r\nServiceUrl=http://127.0.0.1:9\r\n' >"$config/Lexorvia/$settings_name"
[[ ${#as_user[@]} -gt 0 ]] && chown "$nobody:$nogroup" "$config/Lexorvia/$settings_name"
start LD_PRELOAD="$tmp/probe.so" ASAN_OPTIONS=verify_asan_link_order=0
for _ in $(seq 100); do
  grep -q '^install-probe: \(animation\|no animation\|translate failed\|controls\|message box\)' "$log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
stop
folder=$(sed -n 's/^install-probe: program folder //p' "$log")
if [[ $folder == "$private" ]]; then
  pass "the program's folder is lib/lexorvia"
else
  fail "started through bin/lexorvia, the program takes '$folder' for its folder, not $private"
fi
if grep -q '^install-probe: animation shown' "$log"; then
  pass "$(sed -n 's/^install-probe: \(animation shown.*\)/\1/p' "$log")"
else
  fail "pressing Translate in the installed program did not show the animation:"
  cat "$log" >&2
fi

# 3. Nothing was written to the installation.
snapshot >"$tmp/prefix.after"
if cmp -s "$tmp/prefix.before" "$tmp/prefix.after"; then
  pass "the installation is unchanged"
else
  fail "the program changed the installation:"
  diff "$tmp/prefix.before" "$tmp/prefix.after" >&2
fi

finish
