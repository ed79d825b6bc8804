#!/bin/sh
# The shipped data files are exactly what kvm-gen writes: it runs into a fresh folder and every
# file is compared byte for byte with data/, both ways.
# usage: data_files_match.sh <kvm-gen> <data folder>
generator=$1
shipped=$2
out=$(mktemp -d) || exit 1
trap 'rm -rf "$out"' EXIT

"$generator" "$out" || { echo "kvm-gen failed"; exit 1; }
status=0
written=$(ls "$out" | wc -l)
[ "$written" -eq 11 ] || { echo "kvm-gen wrote $written files, not 11"; status=1; }
for file in "$out"/*.kvm; do
  name=$(basename "$file")
  cmp "$file" "$shipped/$name" || { echo "data/$name differs from what kvm-gen writes"; status=1; }
done
for file in "$shipped"/*.kvm; do
  [ -e "$out/$(basename "$file")" ] || { echo "data/$(basename "$file") is not written by kvm-gen"; status=1; }
done
exit $status
