#!/usr/bin/env bash
# Prints, for every entry of a settings file that starts the test application with
# "--report NAME", where its window landed (from the program's own report, which holds the
# restored rectangle even when minimised or maximised) against what the entry registered.
# Usage: tools/example-placement.sh SETTINGS_FILE REPORTS_FOLDER
set -uo pipefail
settings=$1
reports=$2
show_name() { case "$1" in 2) echo minimised ;; 3) echo maximised ;; *) echo normal ;; esac; }

report_value() { sed -n "s/^$2=//p" "$1" | tr -d '\r'; }

# The programs report again a moment after start (--report-after), once they were placed.
wait_for_report() {
    local file=$1 i
    for ((i = 0; i < 60; i++)); do
        [[ -f "$file" && "$(report_value "$file" event)" == timer ]] && return 0
        sleep 0.25
    done
    return 1
}

status=0
entry=0
printf '%-3s %-24s %-28s %-28s %s\n' "#" "title" "registered" "window" "result"
while IFS=$'\t' read -r key value rest; do
    key=${key//$'\r'/}
    value=${value//$'\r'/}
    case "$key" in
    Executant::RingListClass) args="" pos="" size="" show=1 ;;
    ExecutionArguments) args=$value ;;
    ExecutionPosition) pos=$value ;;
    ExecutionSize) size=$value ;;
    ExecutionShowMode) show=$value ;;
    "}")
        entry=$((entry + 1))
        report=$(sed -n 's/.*--report \([^ ]*\).*/\1/p' <<<"$args")
        title=$(sed -n 's/.*--title "\([^"]*\)".*/\1/p' <<<"$args")
        [[ -n "$report" ]] || continue
        registered="${pos:-?} ${size:-?} $(show_name "$show")"
        file="$reports/$report"
        if ! wait_for_report "$file"; then
            printf '%-3s %-24s %-28s %-28s %s\n' "$entry" "$title" "$registered" "(no report)" "MISSING"
            status=1
            continue
        fi
        IFS=, read -r x y w h <<<"$(report_value "$file" window.normal)"
        landed="$x,$y ${w},$h $(show_name "$(report_value "$file" window.showcmd)")"
        result=ok
        [[ "$landed" == "$registered" ]] || { result=DIFFERENT; status=1; }
        printf '%-3s %-24s %-28s %-28s %s\n' "$entry" "$title" "$registered" "$landed" "$result"
        ;;
    esac
done < <(sed 's/^[[:space:]]*//' "$settings")
exit $status
