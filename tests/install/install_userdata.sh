#!/usr/bin/env bash
# The installed program run by a user who cannot write the program's folder: its settings live
# in $XDG_DATA_HOME/mousecfg, seeded from the shipped Configs/ on the first start and kept
# across starts, while the product description, skin and translations are read where they were
# installed; --data-dir still wins. Run as root, the program folder is merely read-only (an
# installed program never writes there, even for root); when root may change to the user
# nobody, the same runs again as that user, and the program beside the build's executables,
# whose folder nobody cannot write, goes to the user's folder too.
source "$(dirname "$0")/lib.sh"

root=$(new_temp)
chmod 755 "$root"
stage=$root/usr
stage_install "$stage"
chmod -R a-w "$stage"
shipped=$stage/share/mousecfg
unset MOUSECFG_DATA_DIR MOUSECFG_EMULATE MOUSECFG_TRACE
export QT_QPA_PLATFORM=offscreen

# Runs the command as user $1 ("" for the caller) with HOME $2 and the user's folders below it.
# Always run in a subshell ($(...) or &), which it replaces by the program: $! of
# "as_user ... &" is the program itself.
as_user() {
    local user=$1 home=$2
    shift 2
    local env=(env HOME="$home" XDG_DATA_HOME="$home/data" TMPDIR="$home/tmp")
    if [ -z "$user" ]; then
        exec "${env[@]}" "$@"
    else
        exec setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups "${env[@]}" "$@"
    fi
}

new_home() {
    local home
    home=$(new_temp)
    mkdir -p "$home/tmp"
    [ -z "$1" ] || chown -R "$1:$(id -g "$1")" "$home"
    chmod 755 "$home"
    echo "$home"
}

ini_value() { sed -n "s/^$2=//p" "$1" | head -n 1; }

check_user() {
    local user=$1 home data out
    home=$(new_home "$user")
    data=$home/data/mousecfg
    out=$(as_user "$user" "$home" "$stage/bin/mousecfg-cli" --emulate devices) ||
        fail "mousecfg-cli devices: $out"
    # The product description came from the installation: the mouse was found by its name.
    grep -qx "Product: KIV M1" <<<"$out" || fail "the installed product description was not read: $out"
    cmp -s "$shipped/Configs/Config.ini" "$data/Configs/Config.ini" ||
        fail "the user's data folder was not seeded with the shipped Config.ini"
    for f in DefaultProfile.bin skin lang; do
        [ ! -e "$data/$f" ] || fail "$f was copied into the user's data folder"
    done

    out=$(as_user "$user" "$home" "$stage/bin/mousecfg-cli" --emulate select-profile 3) ||
        fail "select-profile: $out"
    [ "$(ini_value "$data/Configs/Config.ini" ProfileID)" = 2 ] ||
        fail "the active profile did not land in the user's Config.ini"
    [ "$(ini_value "$shipped/Configs/Config.ini" ProfileID)" = 0 ] || fail "the shipped Config.ini changed"

    # A second start finds the settings of the first.
    out=$(as_user "$user" "$home" "$stage/bin/mousecfg-cli" export-config "$home/saved.conf") ||
        fail "export-config: $out"
    [ "$(sed -n '/^\[Config\]/,/^\[/s/^ProfileID=//p' "$home/saved.conf")" = 2 ] ||
        fail "the second start did not see the first start's settings"

    # The window: it keeps its default profile file in the user's folder too.
    as_user "$user" "$home" "$stage/bin/mousecfg" --emulate >"$home/window.log" 2>&1 &
    local pid=$! i
    for i in $(seq 1 100); do
        [ -s "$data/Configs/Profile/DefaultProfile.prof" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -s "$data/Configs/Profile/DefaultProfile.prof" ] ||
        fail "the window wrote nothing into the user's data folder: $(cat "$home/window.log")"
    [ ! -e "$shipped/Configs/Profile" ] || fail "the window wrote into the installation"

    # --data-dir wins, and an empty folder it names is seeded with everything.
    local named
    named=$(new_home "$user")
    rmdir "$named/tmp"
    out=$(as_user "$user" "$home" "$stage/bin/mousecfg-cli" --data-dir "$named" --emulate \
        select-profile 5) || fail "select-profile with --data-dir: $out"
    for f in DefaultProfile.bin Configs/Config.ini skin/icon.ico lang/en.qm; do
        [ -e "$named/$f" ] || fail "--data-dir folder not seeded with $f"
    done
    [ "$(ini_value "$named/Configs/Config.ini" ProfileID)" = 4 ] || fail "--data-dir was not used"
    [ "$(ini_value "$data/Configs/Config.ini" ProfileID)" = 2 ] ||
        fail "--data-dir changed the user's data folder"
    log "installed program keeps its settings in the user's folder${user:+ (as $user)}"
}

check_user ""

if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    check_user nobody
    # The build's own program folder, which nobody cannot write: settings go to nobody's folder,
    # the shipped files are read beside the executable.
    bin=$BUILD/bin
    if setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups test -x "$bin/mousecfg-cli" &&
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups test -r "$bin/DefaultProfile.bin"; then
        home=$(new_home nobody)
        before=$(cat "$bin/Configs/Config.ini")
        out=$(as_user nobody "$home" "$bin/mousecfg-cli" --emulate select-profile 4) ||
            fail "build program as nobody: $out"
        [ "$(ini_value "$home/data/mousecfg/Configs/Config.ini" ProfileID)" = 3 ] ||
            fail "the build's program did not keep its settings in nobody's folder"
        [ "$before" = "$(cat "$bin/Configs/Config.ini")" ] || fail "build/bin/Configs changed"
        log "the build's program in an unwritable folder keeps its settings in the user's folder"
    fi
else
    log "not root or no setpriv: the run as another user is left out"
fi
