#!/usr/bin/env bash
# The .deb that CPack builds: the files of an installation below /usr, owned by root, with the
# library dependencies of the executables.
source "$(dirname "$0")/lib.sh"

out=$(new_temp)
(cd "$out" && cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    fail "cpack"
}
deb=$(find "$out" -maxdepth 1 -name 'mousecfg_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no mousecfg_*.deb in $(ls "$out")"
dpkg-deb -c "$deb" >"$out/contents"
while IFS= read -r f; do
    grep -q " \./usr/$f\$" "$out/contents" || fail "$f missing from the package"
done < <(expected_files)
if grep -v ' root/root ' "$out/contents" | grep -q .; then fail "files not owned by root"; fi
if grep -q ' \./usr/share/mousecfg/Configs/.*\.prof$' "$out/contents"; then
    fail "settings of a run in the build tree were packaged"
fi
[ "$(dpkg-deb -f "$deb" Package)" = mousecfg ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt5widgets5 libhidapi-hidraw0; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
log "$(basename "$deb"): $(wc -l <"$out/contents") entries, depends on $depends"
