#!/usr/bin/env bash
# Every benchmark, one after the other: settings-file load and save (native and under Wine),
# then the launcher's overhead and placement times under Wine. Prints Markdown tables.
# Usage: bench/run.sh [runs]   (default 5; installs what is missing, like the test command)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
bash "$root/tools/setup.sh" >/dev/null
echo "## Settings file"
echo
"$root/bench/settings/run.sh" "$runs"
echo
echo "## Launch"
echo
"$root/bench/launch/run.sh" "$runs"
echo
echo "## Main window"
echo
"$root/bench/ui/run.sh" "$runs"
