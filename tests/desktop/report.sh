# A desktop suite's steps and their one-page HTML report. Source after common.sh: the
# screenshots and the failure of common.sh are taken over here so that each lands in the step
# that was running. Needs: $artifacts and $report_title set by the caller.

step_titles=()    # step number -> title
step_checks=()    # step number -> what the step shows a user
step_status=()    # step number -> passed / failed
step_notes=()     # step number -> measured figures and failure text, one per line
step_shots=()     # step number -> screenshot names, one per line
current=-1

# step TITLE WHAT_IT_CHECKS: ends the running step as passed and starts the next.
step() {
  [ "$current" -ge 0 ] && step_status[$current]=passed
  current=$(( current + 1 ))
  step_titles[$current]=$1
  step_checks[$current]=$2
  step_status[$current]=running
  step_notes[$current]=""
  step_shots[$current]=""
  echo "== step $((current + 1)): $1"
}

note() {
  echo "   $*"
  step_notes[$current]+="$*"$'\n'
}

shot() {
  local name
  name=$(printf '%02d-%s' "$((current + 1))" "$1")
  import -window root "$artifacts/$name.png"
  step_shots[$current]+="$name"$'\n'
}

fail() {
  echo "FAIL: $*" >&2
  if [ "$current" -ge 0 ]; then
    step_status[$current]=failed
    step_notes[$current]+="FAILED: $*"$'\n'
  fi
  shot failure || true
  exit 1
}

html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

write_report() {
  [ "$current" -ge 0 ] && [ "${step_status[$current]}" = running ] && [ "${1:-1}" = 0 ] &&
    step_status[$current]=passed
  local out="$artifacts/report.html" i passed=0 status
  for i in "${!step_titles[@]}"; do [ "${step_status[$i]}" = passed ] && passed=$(( passed + 1 )); done
  {
    cat <<EOF
<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>$(html <<<"$report_title")</title>
<style>
body { font: 14px sans-serif; margin: 2em; max-width: 1100px; }
table { border-collapse: collapse; width: 100%; }
td, th { border: 1px solid #bbb; padding: 6px; vertical-align: top; text-align: left; }
.passed { color: #106010; font-weight: bold; } .failed { color: #b01010; font-weight: bold; }
.running { color: #806000; font-weight: bold; }
pre { margin: 4px 0 0; white-space: pre-wrap; font-size: 12px; }
img { width: 260px; border: 1px solid #888; margin: 2px; }
</style></head><body>
<h1>$(html <<<"$report_title")</h1>
<p>$passed of ${#step_titles[@]} steps passed; $(date -u '+%Y-%m-%d %H:%M UTC'); program: <code>$(html <<<"${program:-}")</code></p>
<table><tr><th>#</th><th>Step</th><th>Result</th><th>Screenshots</th></tr>
EOF
    for i in "${!step_titles[@]}"; do
      status=${step_status[$i]}
      [ "$status" = running ] && status="not finished"
      echo "<tr><td>$((i + 1))</td><td><b>$(html <<<"${step_titles[$i]}")</b><br>$(html <<<"${step_checks[$i]}")"
      [ -n "${step_notes[$i]}" ] && echo "<pre>$(html <<<"${step_notes[$i]%$'\n'}")</pre>"
      echo "</td><td class=\"${step_status[$i]}\">$status</td><td>"
      while read -r name; do
        [ -n "$name" ] && echo "<a href=\"$name.png\"><img src=\"$name.png\" alt=\"$name\" title=\"$name\"></a>"
      done <<<"${step_shots[$i]}"
      echo "</td></tr>"
    done
    echo "</table></body></html>"
  } >"$out"
  echo "report: $out ($passed of ${#step_titles[@]} steps passed)"
}
