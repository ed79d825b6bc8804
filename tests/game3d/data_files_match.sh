#!/bin/sh
# data/ holds exactly what kvm-gen writes: it runs into a fresh folder and the two folders are
# compared file by file, both ways. usage: data_files_match.sh <kvm-gen> <data folder>
out=$(mktemp -d) || exit 1
trap 'rm -rf "$out"' EXIT
"$1" "$out" || { echo "kvm-gen failed"; exit 1; }
status=0
[ "$(ls "$out" | wc -l)" -eq 11 ] || { echo "kvm-gen did not write 11 files"; status=1; }
for file in "$out"/*.kvm "$2"/*.kvm; do
  name=$(basename "$file")
  cmp "$out/$name" "$2/$name" || { echo "data/$name differs from kvm-gen's"; status=1; }
done
exit $status
