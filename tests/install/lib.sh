# Helpers of the install tests. Sourced with the arguments CMAKE BUILD_DIR SOURCE_DIR APP_ID.
set -euo pipefail
CMAKE=$1
BUILD=$2
SOURCE=$3
APP_ID=$4

log() { printf 'install: %s\n' "$*"; }
fail() {
    log "FAILED: $*"
    exit 1
}

TEMPS=()
cleanup() {
    local t
    for t in "${TEMPS[@]}"; do
        chmod -R u+w "$t" 2>/dev/null || true
        rm -rf "$t"
    done
}
trap cleanup EXIT
new_temp() {
    local t
    t=$(mktemp -d)
    TEMPS+=("$t")
    echo "$t"
}

# Installs the build into the prefix $1 (a staging folder).
stage_install() {
    "$CMAKE" --install "$BUILD" --prefix "$1" >"$1.log" 2>&1 || {
        cat "$1.log"
        fail "cmake --install"
    }
}

# The files an installation must hold, relative to its prefix.
expected_files() {
    printf '%s\n' \
        bin/mousecfg bin/mousecfg-cli bin/mousecfg-osd \
        share/mousecfg/DefaultProfile.bin share/mousecfg/Configs/Config.ini \
        share/mousecfg/skin/cfgMainback.png share/mousecfg/skin/icon.ico \
        share/mousecfg/lang/en.qm \
        "share/applications/$APP_ID.desktop" "share/metainfo/$APP_ID.metainfo.xml" \
        lib/udev/rules.d/70-mousecfg.rules \
        share/man/man1/mousecfg.1.gz share/man/man1/mousecfg-cli.1.gz \
        share/man/man1/mousecfg-osd.1.gz \
        share/doc/mousecfg/copyright share/doc/mousecfg/changelog.gz
    local side
    for side in 16 24 32 48 64 128 256; do
        echo "share/icons/hicolor/${side}x${side}/apps/$APP_ID.png"
    done
}

# A USB ID of the product description as udev writes it (four lower-case hex digits).
product_id() {
    local v
    v=$(sed -n "s/^$1=\([0-9]*\)\r\?$/\1/p" "$SOURCE/assets/product/DefaultProfile.bin" | head -n 1)
    printf '%04x' "${v:-$2}"
}

# What udev accepts in a rules file, for a udevadm without "verify" (before systemd 253): every
# line a comma-separated list of KEY[{attr}]OP"value", match keys with == or !=, assignments
# with = += -= :=.
check_udev_syntax() {
    local file=$1 line rest token n=0
    local match='^(ACTION|DEVPATH|KERNEL|KERNELS|NAME|SYMLINK|SUBSYSTEM|SUBSYSTEMS|DRIVER|DRIVERS|ATTR|ATTRS|SYSCTL|ENV|CONST|TAG|TAGS|TEST|PROGRAM|RESULT)(\{[^}]+\})?(==|!=)"[^"]*"$'
    local assign='^(NAME|SYMLINK|OWNER|GROUP|MODE|SECLABEL\{[^}]+\}|ATTR\{[^}]+\}|SYSCTL\{[^}]+\}|ENV\{[^}]+\}|TAG|RUN(\{[^}]+\})?|LABEL|GOTO|IMPORT\{[^}]+\}|OPTIONS)(=|\+=|-=|:=)"[^"]*"$'
    while IFS= read -r line || [ -n "$line" ]; do
        n=$((n + 1))
        [[ "$line" =~ ^[[:space:]]*(#.*)?$ ]] && continue
        rest=$line
        local matches=0 assigns=0
        while [ -n "$rest" ]; do
            [[ "$rest" =~ ^[[:space:]]*([^\"]*\"[^\"]*\")[[:space:]]*(,(.*))?$ ]] ||
                fail "$file:$n: not a list of KEY OP \"value\": $line"
            token=${BASH_REMATCH[1]}
            rest=${BASH_REMATCH[3]}
            if [[ "$token" =~ $match ]]; then
                matches=$((matches + 1))
            elif [[ "$token" =~ $assign ]]; then
                assigns=$((assigns + 1))
            else
                fail "$file:$n: udev does not know \"$token\""
            fi
        done
        [ "$matches" -gt 0 ] && [ "$assigns" -gt 0 ] || fail "$file:$n: a rule matches and assigns"
    done <"$file"
}
