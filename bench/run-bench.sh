#!/usr/bin/env bash
# Builds in release mode and prints one table of the performance figures with
# their goals: the headless game; the real desktop host under Xvfb at
# 640 x 480, at zoom 3 and on a whole 1920 x 1080 screen, with the time from
# a key press to the screen and its resident memory over many ranking
# openings and games; the browser build in headless Chromium; the world
# ranking's server.
#   bench/run-bench.sh [PLAY_SECONDS] [MENU_SECONDS] [MEMORY_CYCLES]
set -euo pipefail
cd "$(dirname "$0")/.."
play=${1:-30}
menu=${2:-10}
cycles=${3:-1000}
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target pellmora_bench_sim pellmora_bench_replay pellmora_bench_desktop pellmora-sim \
  pellmora_bench_memory pellmora_bench_latency >/dev/null
results=$(mktemp)
trap 'rm -f "$results"' EXIT
taskset -c 0 "$build/bench/pellmora_bench_sim" 50000000 >> "$results"
tenMinutes=$(mktemp --suffix=.pellmora-replay)
taskset -c 0 "$build/bench/pellmora_bench_replay" 5 "$tenMinutes" >> "$results"
work=$(mktemp -d)
(cd "$work" && bash "$OLDPWD/scripts/with-xvfb.sh" "$OLDPWD/$build/bench/pellmora_bench_desktop" "$play" "$menu") >> "$results"
# Recording off, right after the usual run with it on, for its cost.
(cd "$work" && bash "$OLDPWD/scripts/with-xvfb.sh" "$OLDPWD/$build/bench/pellmora_bench_desktop" "$play" 0 norecord) >> "$results"
(cd "$work" && bash "$OLDPWD/scripts/with-xvfb.sh" "$OLDPWD/$build/bench/pellmora_bench_memory" "$cycles") >> "$results"
# Zoom 3 needs a screen that takes 1920 x 1440; the whole screen is a common
# 1920 x 1080 monitor (zoom 2 with bars).
(cd "$work" && PELLMORA_XVFB_SCREEN=2560x1600x24 bash "$OLDPWD/scripts/with-xvfb.sh" \
  "$OLDPWD/$build/bench/pellmora_bench_desktop" "$play" 0 scale3) >> "$results"
(cd "$work" && PELLMORA_XVFB_SCREEN=1920x1080x24 bash "$OLDPWD/scripts/with-xvfb.sh" \
  "$OLDPWD/$build/bench/pellmora_bench_desktop" "$play" 0 fullscreen) >> "$results"
(cd "$work" && bash "$OLDPWD/scripts/with-xvfb.sh" "$OLDPWD/$build/bench/pellmora_bench_latency" 200) >> "$results"
rm -rf "$work"
# The browser build in headless Chromium (make web builds it and installs the driver).
make --no-print-directory web >/dev/null
node bench/web-bench.mjs build-web/site "$play" >> "$results"
# Many ten-minute replays in one process through pellmora-sim --verify, on
# one core, natively and under node.
verifyRate() {
  local key=$1 count=$2 files=() start end
  shift 2
  for _ in $(seq 1 "$count"); do files+=("$tenMinutes"); done
  start=$(date +%s.%N)
  "$@" "${files[@]}" >/dev/null || echo "${key}_failed yes" >> "$results"
  end=$(date +%s.%N)
  awk -v n="$count" -v a="$start" -v b="$end" -v k="$key" \
    'BEGIN { printf "%s %.1f\n", k, n / (b - a) }' >> "$results"
}
verifyRate sim_replays_verified_per_second 1000 taskset -c 0 "$build/tools/pellmora-sim/pellmora-sim" --verify
verifyRate node_replays_verified_per_second 300 taskset -c 0 node build-web/pellmora-sim.js --verify
rm -f "$tenMinutes"
# The world ranking's server, SQLite and PostgreSQL side by side.
cmake --build "$build" -j "$(nproc)" --target pellmora-ranking-server >/dev/null
bash bench/ranking-bench.sh "$build" 5 >> "$results"
value() { awk -v k="$1" '$1 == k { print $2 }' "$results"; }
# KiB a cycle between cycle 500 and the last: a leak shows as a steady slope.
slope() {
  awk -v a="$(value "${1}_500_rss_kib")" -v b="$(value "${1}_${cycles}_rss_kib")" -v n="$cycles" \
    'BEGIN { if (a == "" || b == "" || n <= 500) print "n/a"; else printf "%.2f", (b - a) / (n - 500) }'
}
row() { printf '| %-46s | %12s | %-16s |\n' "$1" "$2" "$3"; }
echo
row "figure" "measured" "goal"
row "----------------------------------------------" "------------" "----------------"
row "headless ticks per second (one core, autopilot)" "$(value sim_ticks_per_second)" ">= 10000000"
row "ten-minute replays verified per second (one core)" "$(value replays_verified_per_second)" ">= 300"
row "replay ticks per second (one core)" "$(value replay_ticks_per_second)" ">= half the headless"
row "ten-minute autopilot replay (bytes)" "$(value replay_bytes_ten_minutes)" "<= 32768"
row "pellmora-sim --verify, ten-minute replays a second" "$(value sim_replays_verified_per_second)" ">= 300"
row "node pellmora-sim.js --verify, the same" "$(value node_replays_verified_per_second)" "(reported)"
row "desktop ticks per second (${play} s, autopilot)" "$(value ticks_per_second)" "100.0 +- 0.5"
row "desktop tick interval, 99th percentile (ms)" "$(value tick_interval_p99_ms)" "< 12"
row "desktop tick interval p99, recording off (ms)" "$(value tick_interval_p99_ms_norecord)" "within noise"
row "CPU while playing (% of one core)" "$(value cpu_playing_percent)" "< 5"
row "CPU while playing, recording off (%)" "$(value cpu_playing_norecord_percent)" "within noise"
row "CPU at the menu (% of one core)" "$(value cpu_menu_percent)" "< 0.5"
row "paint one frame, median (ms)" "$(value paint_median_ms)" "< 0.5"
row "paint one frame, 99th percentile (ms)" "$(value paint_p99_ms)" "(reported)"
row "process start to first painted frame (ms)" "$(value startup_to_first_frame_ms)" "< 250"
row "peak resident memory (MB)" "$(value peak_rss_mb)" "< 80"
row "autopilot kept the ball all along" "$(value autopilot_kept_the_ball)" "yes"
for kind in ranking game; do
  if [ "$kind" = ranking ]; then many="ranking openings" one="ranking opening"; else many=games one=game; fi
  for n in 100 500 "$cycles"; do
    row "resident after $n $many (KiB)" "$(value "${kind}_${n}_rss_kib")" "(reported)"
  done
  row "growth a $one, 500..$cycles (KiB)" "$(slope "$kind")" "< 0.5"
done
row "browser ticks per second (${play} s, autopilot)" "$(value web_ticks_per_second)" "100.0 +- 0.5"
row "browser tick interval, 99th percentile (ms)" "$(value web_tick_interval_p99_ms)" "< 12"
row "browser tick interval p99, recording off (ms)" "$(value web_tick_interval_p99_ms_norecord)" "within noise"
row "browser page's main thread CPU while playing (%)" "$(value web_page_main_thread_cpu_percent)" "(reported)"
row "browser, all Chromium processes' CPU (%)" "$(value web_chromium_cpu_percent)" "(reported)"
row "browser, all Chromium CPU, recording off (%)" "$(value web_chromium_cpu_percent_norecord)" "within noise"
row "browser bytes before the first frame, compressed" "$(value web_bytes_before_first_frame)" "< 250000"
row "browser ranking window's font bytes" "$(value web_ranking_font_bytes)" "(reported)"
row "browser load to first frame, loopback (ms)" "$(value web_load_to_first_frame_ms)" "< 500"
row "browser load to first frame, offline (ms)" "$(value web_offline_load_to_first_frame_ms)" "< 500"
row "CPU while playing at zoom 3, 1920x1440 (%)" "$(value cpu_playing_scale3_percent)" "< 5"
row "CPU while playing full screen 1920x1080 (%)" "$(value cpu_playing_fullscreen_percent)" "< 5"
row "paint one frame at zoom 3, median (ms)" "$(value paint_median_ms_scale3)" "(reported)"
row "autopilot kept the ball (zoom 3 / full screen)" "$(value autopilot_kept_the_ball_scale3) / $(value autopilot_kept_the_ball_fullscreen)" "yes / yes"
row "key to screen, 200 presses, median (ms)" "$(value key_to_screen_median_ms)" "(reported)"
row "key to screen, 99th percentile (ms)" "$(value key_to_screen_p99_ms)" "< 20"
row "key presses never shown" "$(value key_to_screen_missed)" "0"
for store in sqlite postgresql; do
  row "ranking server, $store: 3-min games stored a second" "$(value "ranking_${store}_stored_per_second")" ">= 200"
  row "ranking server, $store: submissions refused" "$(value "ranking_${store}_refused")" "0"
  row "ranking server, $store: reads a second (paced)" "$(value "ranking_${store}_reads_per_second")" "~ 1000"
  row "ranking server, $store: read p99 (ms)" "$(value "ranking_${store}_read_p99_ms")" "< 10"
done
