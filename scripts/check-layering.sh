#!/usr/bin/env bash
# Checks the layers of docs/ARCHITECTURE.md against the sources:
#  - a module includes only its own headers and those of the modules below it;
#  - Qt is included only in platform/src/gui, the GUI test support
#    (platform/tests/support) and the developer tools and benchmarks (tools/,
#    bench/, fuzz/, <module>/tools/), which start a headless Qt application themselves.
# Prints every offending include as file:line and exits 1 when there is one.
# Usage: check-layering.sh [source root, default: this project]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# The modules each module may include besides itself. tools/, bench/ and fuzz/
# stand above everything and may include any module. samples/ (the shared sample
# chart) is never part of the program: besides those three, only a module's tests
# (<module>/tests/) may include it.
declare -A lower=(
  [platform]=""
  [gif]="platform"
  [canvas]="platform"
  [engine]="platform canvas"
  [chart]="platform canvas engine"
  [samples]="platform canvas engine chart analysis"
  [analysis]="platform canvas engine chart"
  [gallery]="platform canvas engine chart"
  [editor]="platform canvas engine chart analysis gallery"
  [app]="platform gif canvas engine chart analysis gallery editor"
)
top="tools bench fuzz"

qt_allowed='^(platform/src/gui|platform/tests/support|tools|bench|fuzz|[a-z]+/tools)/'
qt_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]|Qt[A-Za-z]*/|q[a-z0-9_]*\.h>)'
any_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]'

dirs=()
for d in "${!lower[@]}" $top; do [ -d "$d" ] && dirs+=("$d"); done

bad=0
report() {
  echo "$1: $2" >&2
  bad=1
}

while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  where="$file:$line"
  module=${file%%/*}

  if [[ $text =~ $qt_include ]] && ! [[ $file =~ $qt_allowed ]]; then
    inc=${text#*include}
    report "$where" "Qt included outside platform/ (reach it through the platform layer): ${inc#"${inc%%[![:space:]]*}"}"
    continue
  fi

  # The module an include names: its first folder, after resolving "../" steps.
  [[ $text =~ [\<\"]([^\>\"]+)[\>\"] ]] || continue
  path=${BASH_REMATCH[1]}
  if [[ $path == ../* ]]; then
    path=$(realpath -m --relative-to=. "$(dirname "$file")/$path")
  fi
  target=${path%%/*}
  [ "$target" = "$path" ] && continue            # no folder: a header beside the file
  [ "$target" = "$module" ] && continue
  [[ -v lower[$target] ]] || continue           # not one of our modules
  [[ " $top " == *" $module "* ]] && continue
  if [ "$target" = samples ]; then
    [[ $file == */tests/* ]] || report "$where" "$module includes $path: samples is for tests, tools and benchmarks"
    continue
  fi
  if ! [[ " ${lower[$module]} " == *" $target "* ]]; then
    report "$where" "$module includes $path: $target is not below $module"
  fi
done < <(grep -rnE "$any_include" --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' "${dirs[@]}")

if [ $bad -ne 0 ]; then
  echo "check-layering: includes break the layers of docs/ARCHITECTURE.md" >&2
  exit 1
fi
echo "check-layering: the layers hold"
