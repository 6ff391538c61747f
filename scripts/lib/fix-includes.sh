#!/usr/bin/env bash
# Rewrites include paths of the units that moved out of app/ (run from the top folder;
# harmless when nothing needs rewriting).
set -euo pipefail
cd "$(dirname "$0")/../.."
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r sed -i -E \
    -e 's#"app/(undo)/#"extras/\1/#' \
    -e 's#"app/sync/#"extras/sync/#' \
    -e 's#"app/filewatch\.h"#"extras/sync/filewatch.h"#' \
    -e 's#"app/(editsession|elementtips)\.h"#"extras/session/\1.h"#' \
    -e 's#"app/(shortcuts|title)\.h"#"extras/shared/\1.h"#' \
    -e 's#"app/(canvas|align|lists)/#"extras/\1/#' \
    -e 's#"app/cli/(check|layoutscan)\.h"#"skincheck/\1.h"#' \
    -e 's#"app/cli/#"cli/#' \
    -e 's#"app/(commandline|startfolder)\.h"#"cli/\1.h"#' \
    -e 's#"(app|cli)/rawpath\.h"#"skincheck/rawpath.h"#'
