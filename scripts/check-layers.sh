#!/usr/bin/env bash
# Prints the includes of the project's own headers by folder, "FROM -> TO  N",
# and exits non-zero on one that breaks the layering: an include that does not
# name its folder from the top of the tree, one that reaches up into a higher
# layer (engine < platform < core < ui < app < tests, fuzz, bench), or folders
# that include each other round in a loop.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
  case "$1" in
    engine | engine/*) echo 0 ;;
    platform | platform/*) echo 1 ;;
    core | core/*) echo 2 ;;
    ui | ui/*) echo 3 ;;
    app | app/*) echo 4 ;;
    *) echo 5 ;;
  esac
}

status=0
edges="$(
  git ls-files -co --exclude-standard '*.cpp' '*.h' |
    xargs grep -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' |
    sed -E 's/^([^:]*):[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]*)".*/\1 \2/' |
    while read -r file header; do
      case "$header" in *.moc) continue ;; esac  # moc's output for the file itself
      if [[ "$header" != */* || ! -f "$header" ]]; then
        echo "not named from the top of the tree: $file includes \"$header\"" >&2
        echo "BAD"
      elif [ "${file%/*}" != "${header%/*}" ]; then
        echo "${file%/*} ${header%/*}"
      fi
    done | sort | uniq -c
)"
grep -q ' BAD$' <<<"$edges" && status=1

while read -r count from to; do
  [ "$from" = BAD ] && continue
  mark=""
  if [ "$(rank "$from")" -lt "$(rank "$to")" ]; then
    mark="  WRONG WAY"
    status=1
  fi
  printf '%-20s -> %-20s %4d%s\n' "$from" "$to" "$count" "$mark"
done <<<"$edges"

# tsort names a loop among the folders, if there is one.
if ! awk '$2 != "BAD" { print $2, $3 }' <<<"$edges" | tsort >/dev/null; then
  echo "folders include each other in a loop (above)" >&2
  status=1
fi
exit "$status"
