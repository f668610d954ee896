#!/usr/bin/env bash
# Includes run one way: hosts -> play -> game -> scores -> host contract.
# The core (game/, scores/, host/) and the play layer include no toolkit and
# no system header; the hosts never include each other. Prints every include
# that runs against the grain and fails on any.
set -u
cd "$1" || exit 2

# Which project folders each folder may include.
declare -A allowed=(
  [host]="host"
  [scores]="scores host"
  [game]="game scores host"
  [posix]="posix host"
  [play]="play game scores host"
  [assets]="assets"
  [headless]="headless play posix game scores host"
  [desktop]="desktop play posix game scores host assets"
  [web]="web play posix game scores host assets"
)
# Headers of a toolkit or of the operating system, which only hosts and the
# POSIX file layer may use.
system='^#include *[<"](Q[A-Za-z]*|SDL[^>"]*|emscripten[^>"]*|fcntl\.h|unistd\.h|dirent\.h|sys/[^>"]*|limits\.h|stdlib\.h|X11/[^>"]*|xcb/[^>"]*|wayland[^>"]*)[>"]'

bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    target=$(sed -n 's/^#include *"\([a-z-]*\)\/.*/\1/p' <<<"$text")
    if [ -n "$target" ] && [ -d "$target" ] && ! grep -qw "$target" <<<"${allowed[$folder]}"; then
      echo "$file:$line: $folder/ must not include $target/: $text"
      bad=1
    fi
    case $folder in
      host | scores | game | play | assets)
        if grep -qE "$system" <<<"$text"; then
          echo "$file:$line: $folder/ must not include a toolkit or system header: $text"
          bad=1
        fi
        ;;
    esac
  done < <(grep -rnE '^#include' --include='*.h' --include='*.cpp' --include='*.inc' "$folder")
done
exit $bad
