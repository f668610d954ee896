#!/usr/bin/env bash
# Includes run one way: hosts (and the ranking server) -> play -> game ->
# scores -> host contract.
# The core (game/, scores/, host/) and the play layer include no toolkit and
# no system header; the hosts never include each other. Prints every include
# that runs against the grain and fails on any.
set -u
cd "$1" || exit 2

grep -rnE '^#include' --include='*.h' --include='*.cpp' --include='*.inc' \
  host scores game posix play assets headless desktop web server |
  awk '
    BEGIN {
      # Which project folders each folder may include.
      allowed["host"] = " host "
      allowed["scores"] = " scores host "
      allowed["game"] = " game scores host "
      allowed["posix"] = " posix host "
      allowed["play"] = " play game scores host "
      allowed["assets"] = " assets "
      allowed["headless"] = " headless play posix game scores host "
      allowed["desktop"] = " desktop play posix game scores host assets "
      allowed["web"] = " web play posix game scores host assets "
      allowed["server"] = " server play game scores host "
      # Headers of a toolkit or of the operating system, which only hosts and
      # the POSIX file layer may use.
      sysre = "^#include *[<\"](Q[A-Za-z]*|SDL[^>\"]*|emscripten[^>\"]*|fcntl\\.h|unistd\\.h|dirent\\.h|sys/[^>\"]*|limits\\.h|stdlib\\.h|X11/[^>\"]*|xcb/[^>\"]*|wayland[^>\"]*)[>\"]"
      core = " host scores game play assets "
      bad = 0
    }
    {
      split($0, part, ":")
      file = part[1]
      text = substr($0, length(part[1]) + length(part[2]) + 3)
      folder = file
      sub(/\/.*/, "", folder)
      if (match(text, /^#include *"[a-z-]+\//)) {
        target = substr(text, RSTART, RLENGTH)
        sub(/^#include *"/, "", target)
        sub(/\/$/, "", target)
        if ((target in allowed) && index(allowed[folder], " " target " ") == 0) {
          print file ":" part[2] ": " folder "/ must not include " target "/: " text
          bad = 1
        }
      }
      if (index(core, " " folder " ") > 0 && text ~ sysre) {
        print file ":" part[2] ": " folder "/ must not include a toolkit or system header: " text
        bad = 1
      }
    }
    END { exit bad }
  '
