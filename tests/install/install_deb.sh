#!/usr/bin/env bash
# The .deb that CPack builds: the files of an installation below /usr, owned by root, with the
# library dependencies of the executables; what a distribution's reviewer checks (lintian: no
# error, no warning); a manual page that names every command of mousecfg-cli.
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
qtwidgets=$(grep -o -m1 'libqt[56]widgets[0-9a-z]*' <<<"$depends" || true)
[ -n "$qtwidgets" ] || fail "Depends lacks Qt's widgets library: $depends"
for lib in libhidapi-hidraw0; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
log "$(basename "$deb"): $(wc -l <"$out/contents") entries, depends on $depends"

# Every command the tool lists is in its packaged manual page.
man_cli=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/mousecfg-cli.1.gz |
    gzip -dc | sed 's/\\-/-/g')
commands=$("$BUILD/bin/mousecfg-cli" 2>&1 | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' || true)
[ -n "$commands" ] || fail "mousecfg-cli listed no commands"
for c in $commands; do
    grep -q -E "^\.B[IR]? $c( |\$)" <<<"$man_cli" || fail "the manual page of mousecfg-cli lacks $c"
done

if command -v lintian >/dev/null; then
    # Root is warned about; the check is the same for any user.
    lintian --fail-on error,warning --display-info --pedantic "$deb" >"$out/lintian.log" 2>&1 || {
        cat "$out/lintian.log"
        fail "lintian"
    }
    grep -E '^[EW]: ' "$out/lintian.log" && fail "lintian reports errors or warnings"
    log "lintian: $(grep -c '^[IPXO]: ' "$out/lintian.log" || true) notes, no error or warning"
else
    log "lintian missing: the package is not reviewed"
fi
