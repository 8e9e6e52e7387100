#!/usr/bin/env bash
# The hands-free speed table of docs/figures.md: qmosk-handsfree (built by the
# native preset) on the held-out text, for every method, simulated user,
# timing and prediction, seed 1, the tool's defaults otherwise.
#
# Usage: bench/handsfree-table.sh [text]   (default tests/data/ksr-holdout.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/native/qmosk-handsfree
text=${1:-tests/data/ksr-holdout.txt}
[[ -x $tool ]] || { echo "build the native preset first ($tool is missing)" >&2; exit 1; }
users=("typical (700 ms, spread 200)|700|200" "fast (450 ms, spread 100)|450|100"
       "slow (1200 ms, spread 400)|1200|400")
echo "| Method | User (reaction) | Timing | Prediction | Characters per minute | Errors per 100 characters |"
echo "|---|---|---|---|---|---|"
for method in scan hover; do
  for user in "${users[@]}"; do
    IFS='|' read -r name reaction spread <<<"$user"
    for timing in fixed tuned; do
      for prediction in off on; do
        last=$("$tool" --method "$method" --timing "$timing" --prediction "$prediction" \
          --reaction-ms "$reaction" --spread-ms "$spread" --seed 1 "$text" | tail -n 1)
        [[ $last =~ ^characters\ per\ minute:\ ([0-9.]+),\ errors\ per\ 100\ characters:\ ([0-9.]+)$ ]] ||
          { echo "unexpected last line: $last" >&2; exit 1; }
        echo "| $method | $name | $timing | $prediction | ${BASH_REMATCH[1]} | ${BASH_REMATCH[2]} |"
      done
    done
  done
done
