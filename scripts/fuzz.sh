#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) into
# build-fuzz and runs each for SECONDS (default 20), starting from the seeds in
# tests/fuzz/corpus/<target>/ and the kept inputs in tests/fuzz/regressions/<target>/.
# Fails when a target crashes or a checked property breaks; the input that did
# it lands in build-fuzz/artifacts/<target>/ (keep it under regressions/).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
#   (targets: settings identify cmdline timetext numbers convertargs dryrun keptlist profile)
# FUZZ_BUILD_DIR chooses another build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings identify cmdline timetext numbers convertargs dryrun keptlist profile)

"$root/scripts/deps.sh"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTORIX_FUZZ=ON -DVANTORIX_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target # what the run adds; never committed
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  seeds=("$root/tests/fuzz/corpus/$target")
  [ -d "$root/tests/fuzz/regressions/$target" ] && seeds+=("$root/tests/fuzz/regressions/$target")
  echo "== fuzz_$target for ${seconds} s"
  if "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" \
    >"$build/fuzz_$target.log" 2>&1; then
    grep -E "^stat::(number_of_executed_units|new_units_added)|^Done" "$build/fuzz_$target.log" || true
    echo "   corpus: $(find "$corpus" -type f | wc -l) inputs"
  else
    failed+=("$target")
    grep -m8 -E "^broken:|ERROR: |runtime error|^SUMMARY|Test unit written" \
      "$build/fuzz_$target.log" || tail -20 "$build/fuzz_$target.log"
    echo "   the whole report: $build/fuzz_$target.log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing broke: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no crash, no broken property"
