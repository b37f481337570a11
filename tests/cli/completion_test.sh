#!/usr/bin/env bash
# The bash completion of vesko-script, as bash runs it on Tab:
#   completion_test.sh path/to/vesko-script path/to/vesko-script.bash-completion
set -uo pipefail
program="$1"
source "$2"

failed=0
registered="$(complete -p vesko-script)"
if [[ $registered != "complete -F _vesko_script vesko-script" ]]; then
  echo "FAIL: complete -p vesko-script gives: $registered"
  failed=1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/settings" "$scratch/scans"
touch "$scratch/scan.dat" "$scratch/settings.txt"

# Each row: the words typed so far (the last one is being completed) | what Tab offers.
rows=(
  "sl|slit-scan slit-dec-scan slit-move"
  "an|analyse"
  "--v|--version"
  "slit-scan --ax|--axis"
  "slit-scan --axis |y z"
  "slit-scan --axis = |y z"
  "coll-scan --panel z --move-4d-slit |0 1"
  "lens-scan --axis lens_r|lens_ry lens_rz"
  "slit-scan --division |"
  "slit-scan --division 5 --s|--slit-width --scan-center --scan-width --settings-dir --stdout --summary"
  "slit-scan --ig|--ignore-limits"
  "slit-scan --settings-dir $scratch/s|$scratch/scans $scratch/settings"
  "analyse $scratch/sc|$scratch/scan.dat $scratch/scans"
  "stats --json $scratch/sc|$scratch/scan.dat $scratch/scans"
  "slit-scan $scratch/sc|"
  "analyse --th|--threshold"
)
for row in "${rows[@]}"; do
  typed="${row%%|*}"
  expected="${row#*|}"
  read -r -a COMP_WORDS <<<"$typed"
  COMP_WORDS=("$program" "${COMP_WORDS[@]}")
  [[ $typed == *" " ]] && COMP_WORDS+=("")  # a blank typed last: a new, empty word is completed
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _vesko_script
  mapfile -t sorted < <(printf '%s\n' "${COMPREPLY[@]}" | sort)
  mapfile -t wanted < <(tr ' ' '\n' <<<"$expected" | sed '/^$/d' | sort)
  if [[ "${sorted[*]}" != "${wanted[*]}" ]]; then
    echo "FAIL: vesko-script $typed<Tab> gives [${COMPREPLY[*]}], expected [$expected]"
    failed=1
  fi
done
[[ $failed -eq 0 ]] && echo "bash completion: ${#rows[@]} rows pass"
exit $failed
