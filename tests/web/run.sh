#!/bin/sh
# Runs the page's tests in headless Chromium; exits 77 (skipped) when the page, Chromium or
# the npm packages are not there. Usage: run.sh SOURCE_DIR NATIVE_BINARY [PAGE]
source_dir="$1"
page="${3:-}"
[ -n "$page" ] && [ -f "$page" ] || page="$source_dir/build/web/mlfq.html"
[ -f "$page" ] || page="$source_dir/docs/mlfq.html"
puppeteer="$source_dir/web/node_modules/puppeteer-core"
if [ ! -f "$page" ] || [ ! -d "$puppeteer" ] || ! command -v node >/dev/null ||
   [ ! -x "${CHROMIUM:-/usr/bin/chromium}" ]; then
    echo "the page's browser tests need the page, node, Chromium and 'npm ci' in web/: skipped"
    exit 77
fi
MLFQ_PAGE="$page" MLFQ_BINARY="$2" MLFQ_EXAMPLES="$source_dir/examples" \
MLFQ_PUPPETEER="$puppeteer" exec node --test "$source_dir/tests/web/page_test.mjs"
