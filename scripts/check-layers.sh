#!/usr/bin/env bash
# Refuses an include that points up the layers: imaging <- framework <-
# widgets <- app. Every library exports the repository root, so the compiler
# would accept such an include; this check keeps the dependencies one-way.
set -euo pipefail
cd "$(dirname "$0")/.."

# For each layer, the layers its files may include.
declare -A allowed=(
  [imaging]="imaging"
  [framework]="imaging framework"
  [widgets]="imaging framework widgets"
  [app]="imaging framework widgets app"
)

status=0
for layer in imaging framework widgets app; do
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [ -d "$target" ] || continue # not a layer folder (a sibling header)
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *)
        echo "check-layers: $file:$line: '$layer' may not include from '$target'"
        status=1
        ;;
    esac
  done < <(grep -rnE '^\s*#\s*include "[^"]+/' "$layer" --include='*.h' --include='*.cpp' || true)
done
[ $status -eq 0 ] && echo "check-layers: every include points down the layers"
exit $status
