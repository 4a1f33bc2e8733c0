#!/usr/bin/env bash
# Speed of kestrum-cli as a whole process: its start-up, one conversion, and a batch of 100
# EPW files with --jobs 1 and --jobs 2. Each figure is the best of ROUNDS runs (default 3),
# taken in turns so that a load from elsewhere touches both alike.
# Usage: bench/batch_bench.sh [BUILD_DIR]   (default: build-release, else build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
[ -x "$build/bin/kestrum-cli" ] || build=$root/build
cli=$build/bin/kestrum-cli
rounds=${ROUNDS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

samples=("$root/data/samples/"*.epw "$root/tests/data/"*.epw)
mkdir -p "$work/in"
for i in $(seq -w 1 100); do
  cp "${samples[$((10#$i % ${#samples[@]}))]}" "$work/in/w$i.epw"
done

now() { date +%s.%N; }
best() {  # best of the arguments
  printf '%s\n' "$@" | sort -g | head -1
}
seconds() {  # the time one command takes
  local start end
  start=$(now)
  "$@" > /dev/null 2>&1 || true
  end=$(now)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

echo "kestrum-cli: $cli"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

startup=()
single=()
for r in $(seq "$rounds"); do
  t=$(seconds bash -c "for i in \$(seq 100); do '$cli' --version; done")
  startup+=("$(awk -v t="$t" 'BEGIN { print t * 10 }')")  # ms per start
  t=$(seconds "$cli" convert "$work/in/w001.epw" --out "$work/single" -q)
  single+=("$(awk -v t="$t" 'BEGIN { print t * 1000 }')")
done
printf 'process start and exit (--version):  %6.2f ms\n' "$(best "${startup[@]}")"
printf 'one conversion as a whole process:   %6.2f ms\n' "$(best "${single[@]}")"

j1=()
j2=()
for r in $(seq "$rounds"); do
  rm -rf "$work/out1" "$work/out2"
  j1+=("$(seconds "$cli" batch "$work/in" --out "$work/out1" --jobs 1 -q)")
  j2+=("$(seconds "$cli" batch "$work/in" --out "$work/out2" --jobs 2 -q)")
done
t1=$(best "${j1[@]}")
t2=$(best "${j2[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
printf 'batch of 100, --jobs 1: %6.3f s  %6.1f files/s\n' "$t1" "$(ratio 100 "$t1")"
printf 'batch of 100, --jobs 2: %6.3f s  %6.1f files/s\n' "$t2" "$(ratio 100 "$t2")"
printf 'speed-up with 2 jobs:   %6.2f\n' "$(ratio "$t1" "$t2")"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
