#!/usr/bin/env bash
# Measures what CI pays for one run: `.ci/run` in a fresh clone of the committed HEAD, in a temporary
# folder, pinned to two cores, with the compiler cache off. liblzma's cache (PROJECT_THIRD_PARTY,
# default /var/cache/vontar-suite) is reused, as it is on a CI machine that built it before.
# Prints the wall minutes and the CPU minutes (user + system of every process the run waited for).
#
# Usage: bench/ci_two_cores.sh [--keep] [--cores LIST] [--revision REV]
#   --keep          keep the clone (its build trees' .ninja_log files show where the time went)
#   --cores LIST    taskset's CPU list instead of 0,1
#   --revision REV  measure that commit instead of HEAD (an earlier one, to compare)
# The run's output goes to ci-run.log beside the clone; its last lines are shown on failure.
set -euo pipefail

keep=0
cores=0,1
revision=HEAD
while [ $# -gt 0 ]; do
  case $1 in
    --keep) keep=1 ;;
    --cores) cores=${2:?--cores needs a list}; shift ;;
    --revision) revision=${2:?--revision needs a commit}; shift ;;
    *) echo "ci_two_cores.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
  shift
done

root=$(cd "$(dirname "$0")/.." && pwd)
revision=$(git -C "$root" rev-parse --verify "$revision^{commit}")
work=$(mktemp -d "${TMPDIR:-/tmp}/ci-two-cores.XXXXXX")
clone=$work/clone
run_pid=

cleanup() {
  # Whatever the run left: its process group (also when the run's first process was ended from
  # outside and its children live on), the Wine server and the Xvfb of its x64 tree.
  if [ -n "$run_pid" ]; then
    kill -TERM -- "-$run_pid" 2>/dev/null || true
    wait "$run_pid" 2>/dev/null || true
  fi
  if [ -d "$clone/build/x64" ]; then
    bash "$clone/scripts/wine-session.sh" stop "$clone/build/x64" >/dev/null 2>&1 || true
  fi
  if [ "$keep" = 1 ]; then
    echo "kept: $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

git clone --quiet --no-checkout "$root" "$clone"
git -C "$clone" checkout --quiet --detach "$revision"

echo "revision: $(git -C "$clone" log -1 --format='%h %s')"
echo "cores: $cores; load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# The run gets its own process group (setsid), so that the cleanup can end all of it and nothing
# else; BUILD_ROOT is dropped so its build trees are the clone's own.
start=$(date +%s.%N)
set +e
(
  cd "$clone"
  exec env -u BUILD_ROOT CCACHE_DISABLE=1 CI=true \
    setsid /usr/bin/time -f '%U %S' -o "$work/cpu" taskset -c "$cores" bash .ci/run \
    </dev/null >"$work/ci-run.log" 2>&1
) &
run_pid=$!
wait "$run_pid"
status=$?
set -e
end=$(date +%s.%N)

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
grep -E '^(bootstrap|build|wine session): ' "$work/ci-run.log" || true
grep -E 'tests passed|tests failed' "$work/ci-run.log" || true
if [ "$status" -ne 0 ]; then
  tail -n 40 "$work/ci-run.log"
  echo ".ci/run failed with status $status"
fi
# GNU time puts a line about a failing status before its own.
read -r user sys < <(tail -n 1 "$work/cpu") || { user=0; sys=0; }
awk -v a="$start" -v b="$end" -v u="$user" -v s="$sys" \
  'BEGIN { printf "wall: %.1f min\ncpu: %.1f min (user %.1f, sys %.1f)\n", (b - a) / 60, (u + s) / 60, u / 60, s / 60 }'
exit "$status"
