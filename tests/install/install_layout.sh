#!/usr/bin/env bash
# `cmake --install` into a staging folder: every file an installation needs is there and
# nothing of the build's own (tests, the settings of build/bin); the desktop entry, the AppStream
# metadata and the udev rule pass their validators.
source "$(dirname "$0")/lib.sh"

stage=$(new_temp)/usr
stage_install "$stage"

while IFS= read -r f; do
    [ -s "$stage/$f" ] || fail "$f missing from the installation"
done < <(expected_files)
for exe in mousecfg mousecfg-cli mousecfg-osd; do
    [ -x "$stage/bin/$exe" ] || fail "bin/$exe is not executable"
done
extra=$(find "$stage/bin" -type f | grep -v -E '/mousecfg(-cli|-osd)?$' || true)
[ -z "$extra" ] || fail "more than the programs in bin/: $extra"
# The sample settings as shipped, not what a run of the program in build/bin saved.
cmp -s "$SOURCE/assets/product/Configs/Config.ini" "$stage/share/mousecfg/Configs/Config.ini" ||
    fail "share/mousecfg/Configs/Config.ini is not the shipped one"
[ -z "$(find "$stage/share/mousecfg/Configs" -type f ! -name Config.ini)" ] ||
    fail "share/mousecfg/Configs holds more than the shipped Config.ini"

desktop="$stage/share/applications/$APP_ID.desktop"
grep -qx "Icon=$APP_ID" "$desktop" || fail "the desktop entry does not name the icon"
grep -qx "Exec=mousecfg" "$desktop" || fail "the desktop entry does not start mousecfg"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    log "desktop-file-validate missing (desktop-file-utils): desktop entry not validated"
fi
metainfo="$stage/share/metainfo/$APP_ID.metainfo.xml"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
    log "appstreamcli missing (appstream): metadata not validated"
fi

rules="$stage/lib/udev/rules.d/70-mousecfg.rules"
receiver="$(product_id vid1 9354):$(product_id pid1 64002)"
cable="$(product_id vid2 9354):$(product_id pid2 64257)"
for id in "$receiver" "$cable"; do
    grep -qx "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"${id%:*}\", ATTRS{idProduct}==\"${id#*:}\", TAG+=\"uaccess\"" "$rules" ||
        fail "no uaccess rule for $id in $(cat "$rules")"
    grep -qi "<modalias>usb:v${id%:*}p${id#*:}d\*</modalias>" "$metainfo" ||
        fail "the metadata does not list $id"
done
check_udev_syntax "$rules"
if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
    udevadm verify --no-style "$rules" || udevadm verify "$rules" || fail "udevadm verify"
fi
# The checker itself must refuse what udev refuses (an assignment to a match key) or warns
# about (a missing comma).
bad=$(new_temp)/bad.rules
echo 'SUBSYSTEM=="hidraw", ATTRS{idVendor}="248a", TAG+="uaccess"' >"$bad"
if (check_udev_syntax "$bad") >/dev/null 2>&1; then fail "the rule checker took an assignment to ATTRS"; fi
echo 'SUBSYSTEM=="hidraw" ATTRS{idVendor}=="248a", TAG+="uaccess"' >"$bad"
if (check_udev_syntax "$bad") >/dev/null 2>&1; then fail "the rule checker took a missing comma"; fi
log "installation complete and valid"
