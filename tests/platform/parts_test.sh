#!/usr/bin/env bash
# The layer's parts call only into the parts they may use: every symbol a
# part's library takes from another part is defined in one it links, or in
# one those link. Including a header of another part fails to compile
# already; this catches the calls that go round the headers, through the
# Windows names every part sees.
#   parts_test.sh PARTS_FILE   (lines "name library used-part...", made by
#                               platform/CMakeLists.txt)
set -euo pipefail
list=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A library uses
while read -r name file deps; do
  library[$name]=$file
  uses[$name]=$deps
done < "$list"
[ ${#library[@]} -gt 0 ] || { echo "parts_test: no parts in $list" >&2; exit 1; }

for part in "${!library[@]}"; do
  nm -g --defined-only "${library[$part]}" | awk 'NF == 3 { print $3 }' | sort -u > "$work/$part.defined"
  nm -g --undefined-only "${library[$part]}" | awk '{ print $NF }' | sort -u > "$work/$part.needed"
done

# The parts a part reaches through what it links, itself included.
reach() {
  local seen=" $1 " todo=($1) next dep
  while [ ${#todo[@]} -gt 0 ]; do
    next=${todo[0]}
    todo=("${todo[@]:1}")
    for dep in ${uses[$next]}; do
      case "$seen" in *" $dep "*) ;; *) seen+="$dep "; todo+=("$dep") ;; esac
    done
  done
  echo $seen
}

for part in "${!library[@]}"; do
  reached=$(reach "$part")
  cat $(for p in $reached; do echo "$work/$p.defined"; done) | sort -u > "$work/reached"
  comm -23 "$work/$part.needed" "$work/reached" > "$work/missing"
  for other in "${!library[@]}"; do
    case " $reached " in *" $other "*) continue ;; esac
    comm -12 "$work/missing" "$work/$other.defined" | while read -r symbol; do
      echo "parts_test: $part calls $(echo "$symbol" | c++filt) of $other, which it may not use" | tee -a "$work/wrong" >&2
    done
  done
done
if [ -s "$work/wrong" ]; then
  exit 1
fi
echo "parts_test: ${#library[@]} parts, each calling only the parts it uses"
