#!/usr/bin/env bash
# make reproducible: builds the release of this checkout's commit twice, each in a fresh clone
# in a temporary folder of its own, and compares the two dist/release/ byte for byte. The two
# builds differ in everything that must not matter: the folder and its path's length, the
# time, the time zone, the locale and the umask. For each file that differs it prints
# diffoscope's account of the difference, and then fails.
#
# Only committed work is built (a clone of HEAD). The builds leave out the tests' and the
# benchmarks' code (CMAKE_FLAGS), which no release file holds. KEEP=1 keeps the folders.
# Needs what make release needs, and diffoscope (scripts/install-deps.sh release).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
jobs=${JOBS:-$(nproc)}
[ -z "$(git -C "$root" status --porcelain)" ] ||
    echo "reproducible: uncommitted changes are left out: this builds $commit as committed"
work=$(mktemp -d "${TMPDIR:-/tmp}/pevrand-reproducible.XXXXXX")
if [ "${KEEP:-}" = 1 ]; then
    echo "reproducible: keeping $work"
else
    trap 'rm -rf "$work"' EXIT
fi
started=$SECONDS

# Builds the release in clone $1 under time zone $2, locale $3 and umask $4.
build() {
    local dir=$1 zone=$2 locale=$3 mask=$4
    echo "== reproducible: building in $dir (TZ=$zone LC_ALL=$locale umask $mask, $(date -u +%T))"
    git clone --quiet --no-hardlinks "$root" "$dir"
    git -C "$dir" checkout --quiet --detach "$commit"
    (
        cd "$dir"
        umask "$mask"
        env TZ="$zone" LC_ALL="$locale" LANG="$locale" JOBS="$jobs" \
            CMAKE_FLAGS="-DPEVRAND_TESTS=OFF -DPEVRAND_BENCH=OFF" scripts/release.sh
    ) >"$dir.log" 2>&1 || { tail -n 40 "$dir.log"; echo "reproducible: the build in $dir failed"; exit 1; }
}
first=$work/one/pevrand second=$work/second-build-in-a-longer-path/checkout
mkdir -p "$(dirname "$first")" "$(dirname "$second")"
build "$first" UTC C.UTF-8 022
build "$second" Pacific/Chatham C 027

a=$first/dist/release b=$second/dist/release
differing=0
while read -r name; do
    if [ ! -e "$a/$name" ] || [ ! -e "$b/$name" ]; then
        echo "== $name: made by one build only"
        differing=$((differing + 1))
    elif ! cmp -s "$a/$name" "$b/$name"; then
        echo "== $name differs; diffoscope says:"
        diffoscope --no-progress --text - --max-text-report-size 40000 "$a/$name" "$b/$name" ||
            true
        differing=$((differing + 1))
    fi
done < <( (cd "$a" && ls; cd "$b" && ls) | LC_ALL=C sort -u)

count=$(ls "$a" | wc -l)
echo "reproducible: $commit built twice in $((SECONDS - started)) s"
if [ "$differing" -gt 0 ]; then
    echo "reproducible: FAILED: $differing of the files differ"
    exit 1
fi
echo "reproducible: all $count files of dist/release are the same bytes:"
sed 's/^/  /' "$a/SHA256SUMS"
