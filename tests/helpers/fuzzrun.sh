#!/bin/sh
# Runs one fuzz target for a few seconds: fuzzrun.sh <target> <seed corpus> <work folder> <seconds>
# New inputs go to the work folder (the seed corpus is only read); a crash leaves its input there.
set -e
target=$1 seeds=$2 work=$3 secs=$4
rm -rf "$work"
mkdir -p "$work/corpus"
exec "$target" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
  -artifact_prefix="$work/" "$work/corpus" "$seeds"
