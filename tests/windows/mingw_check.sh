#!/usr/bin/env bash
# The Windows sources compile: every source that builds only on Windows (platform/*_win.cpp) and
# every source with a Windows branch (Q_OS_WIN) is compiled by MinGW with -fsyntax-only against
# the headers of the Qt this build uses, read as a Windows compiler reads them; and the programs'
# resource scripts compile with windres. Nothing is linked: Linux's Qt headers serve for the
# syntax (Qt's headers choose by the compiler's target), not its libraries.
# Arguments: SOURCE_DIR BUILD_DIR CXX WINDRES QT_INCLUDE_DIR QT_MAJOR
set -euo pipefail
src=$1
build=$2
cxx=$3
windres=$4
qt=$5
qt_major=$6

fail() {
    echo "mingw_check: FAILED: $*"
    exit 1
}

flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror
    -DUNICODE -D_UNICODE -DQT_NO_FOREACH -DQT_DISABLE_DEPRECATED_BEFORE=0x050F00
    # The Windows build keeps the shipped files beside the programs.
    "-DMC_SHIPPED_FROM_BIN=\".\""
    -I"$src")
for module in "" QtCore QtGui QtWidgets QtNetwork; do
    flags+=(-isystem "$qt/$module")
done

compile() {
    "$cxx" "${flags[@]}" "$@"
}

# The check itself: it compiles as Windows through Qt's headers, and a source that does not
# compile fails it.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
cat >"$probe/windows.cpp" <<'CPP'
#include <QtGlobal>
#ifndef Q_OS_WIN
#error not compiled as Windows
#endif
#include <windows.h>
#include <dbt.h>
static_assert(QT_VERSION_MAJOR == QT_MAJOR_EXPECTED, "the headers of another Qt");
HDEVNOTIFY probe(HWND w, DEV_BROADCAST_DEVICEINTERFACE_W *f)
{
    return RegisterDeviceNotificationW(w, f, DEVICE_NOTIFY_WINDOW_HANDLE);
}
CPP
compile -DQT_MAJOR_EXPECTED="$qt_major" "$probe/windows.cpp" || fail "the probe does not compile"
printf '#include <windows.h>\nvoid f() { RegisterDeviceNotificationW(0); }\n' >"$probe/bad.cpp"
if compile "$probe/bad.cpp" 2>/dev/null; then fail "a source that does not compile passed"; fi

cd "$src"
mapfile -t files < <({
    ls platform/*_win.cpp
    grep -rl --include='*.cpp' -e 'Q_OS_WIN' . | sed 's|^\./||' | grep -v -E '^(tests|bench|build[^/]*)/'
} | sort -u)
[ ${#files[@]} -ge 6 ] || fail "only ${#files[@]} Windows sources found: ${files[*]}"
failed=()
for f in "${files[@]}"; do
    compile "$f" || failed+=("$f")
done
[ ${#failed[@]} -eq 0 ] || fail "${failed[*]}"

# The resource scripts (icon and version) of the programs.
rcs=("$build"/windows/*.rc)
[ -e "${rcs[0]}" ] || fail "no resource scripts in $build/windows"
for rc in "${rcs[@]}"; do
    "$windres" -i "$rc" -o "$probe/$(basename "$rc").o" || failed+=("$rc")
done
[ ${#failed[@]} -eq 0 ] || fail "${failed[*]}"
echo "mingw_check: ${#files[@]} sources and ${#rcs[@]} resource scripts compile for Windows (Qt $qt_major)"
