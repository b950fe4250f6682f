#!/usr/bin/env bash
# run-fuzz.sh FUZZER CORPUS WORKDIR SECONDS: a bounded fuzz run from a copy of CORPUS.
set -eu
fuzzer=$1 corpus=$2 work=$3 seconds=$4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/crashes"
cp "$corpus"/* "$work/corpus/"
echo "crashes, if any, go to $work/crashes/"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$work/crashes/" "$work/corpus"
