#!/usr/bin/env bash
# Builds the Debian package of a build folder with cpack and checks it: its name, its files
# (and that no per-user install file is among them), its computed dependencies, the desktop
# entry, the metainfo, the user unit, and lintian's verdict where lintian is installed (else
# exit 77 after the other checks). Usage: check_deb.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: package: $*"
    exit 1
}

version=$(sed -n 's/^project(xk-r40 VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
id=$(sed -n 's/^set(XK_DESKTOP_ID \([^ )]*\)).*/\1/p' "$here/../../CMakeLists.txt")
[ -n "$version" ] && [ -n "$id" ] || fail "no version or desktop id in CMakeLists.txt"
arch=$(dpkg --print-architecture)

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -20 "$work/cpack.log")"
deb=$work/out/xk-r40_${version}_$arch.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/xk-r40 /usr/bin/xk-r40-ctl \
    /usr/share/xk-r40/config.ini /usr/share/xk-r40/constMacro.dat /usr/share/xk-r40/Macro_EN.dat \
    /usr/share/xk-r40/Macro_CN.dat /usr/share/xk-r40/skins/INI_EN/skin_main_en.ini \
    /usr/share/xk-r40/skins/main_mask.jpg \
    /usr/lib/udev/rules.d/70-xk-r40.rules /usr/lib/systemd/user/xk-r40.service \
    "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
    /usr/share/icons/hicolor/scalable/apps/xk-r40.svg /usr/share/icons/hicolor/48x48/apps/xk-r40.png \
    /usr/share/icons/hicolor/256x256/apps/xk-r40.png \
    /usr/share/man/man1/xk-r40.1.gz /usr/share/man/man1/xk-r40-ctl.1.gz \
    /usr/share/bash-completion/completions/xk-r40-ctl /usr/share/doc/xk-r40/copyright; do
    grep -qxF "$f" "$work/files" || fail "$f is not in the package"
done
# Nothing of a per-user install, nothing outside /usr, no person's file.
outside=$(grep -v -e '^/$' -e '^/usr/' -e '^/usr$' "$work/files")
[ -z "$outside" ] || fail "files outside /usr: $outside"
for f in uninstall installed-files; do
    ! grep -q "/$f$" "$work/files" || fail "the package holds $f"
done

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libudev1 libx11-6 libc6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

dpkg-deb -x "$deb" "$work/root"
root=$work/root
grep -qxF 'ExecStart="/usr/bin/xk-r40" --hidden' "$root/usr/lib/systemd/user/xk-r40.service" ||
    fail "the user unit: $(cat "$root/usr/lib/systemd/user/xk-r40.service")"
grep -q 'ENV{SYSTEMD_USER_WANTS}+="xk-r40.service"' "$root/usr/lib/udev/rules.d/70-xk-r40.rules" ||
    fail "the udev rule does not start the user unit"
grep -qxF 'Exec="/usr/bin/xk-r40"' "$root/usr/share/applications/$id.desktop" ||
    fail "the desktop entry does not start /usr/bin/xk-r40"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the desktop entry is not valid"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
        fail "the metainfo: $(cat "$work/as.log")"
    grep -qE '^(W|E):' "$work/as.log" && fail "the metainfo: $(cat "$work/as.log")"
fi
grep -qF '<modalias>usb:v18F8p1286*</modalias>' "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not provide the mouse's modalias"
# The manual pages are the programs' own --help and --version.
for program in xk-r40 xk-r40-ctl; do
    page=$(zcat "$root/usr/share/man/man1/$program.1.gz")
    grep -q "^\.TH .*\"$program $version\"" <<<"$page" || fail "$program(1) is not of version $version"
    grep -qF "usage: ${program//-/\\-} [" <<<"$page" || fail "$program(1) does not hold the usage"
done
# xk-r40-ctl(1) holds each command's help too.
page=$(zcat "$root/usr/share/man/man1/xk-r40-ctl.1.gz")
for command in status set profile macros reset; do
    grep -qx "\.SS $command" <<<"$page" || fail "xk-r40-ctl(1) has no section of $command"
done
grep -q '^  FIRE_TIME ' <<<"$page" || fail "xk-r40-ctl(1) lacks the keys that set takes"

if ! command -v lintian >/dev/null; then
    echo "SKIP: package: lintian is not installed (scripts/setup installs it); the rest passed"
    exit 77
fi
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
status=$?
cat "$work/lintian.log"
[ $status -eq 0 ] || fail "lintian reports errors"
echo "PASS: package $(basename "$deb")"
