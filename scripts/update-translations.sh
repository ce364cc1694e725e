#!/usr/bin/env bash
# Collects every translatable text of the program into assets/lang/en.ts (lupdate) and fills in
# the English renderings by the product's rule (mc_tsfill). Run it after adding or changing a
# text shown to the user, then commit en.ts; the build compiles it to bin/lang/en.qm.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target mc_tsfill >/dev/null
dirs=()
for d in app widgets buttons macro performance lighting device profile platform osd; do
    [ -d "$root/$d" ] && dirs+=("$root/$d")
done
[ -s "$root/assets/lang/en.ts" ] || rm -f "$root/assets/lang/en.ts"
lupdate -silent -I "$root" -no-obsolete -locations none -target-language en \
    "${dirs[@]}" "$root/assets/lang/knowntexts.cpp" -ts "$root/assets/lang/en.ts"
"$build/assets/lang/mc_tsfill" "$root/assets/lang/en.ts"
echo "updated $root/assets/lang/en.ts"
