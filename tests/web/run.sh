#!/usr/bin/env bash
# run.sh -- the browser cases: installs the pinned Playwright (playwright-core
# from package-lock.json, no browser download: Debian's Chromium is used)
# when node_modules does not match the lock, then runs the cases with
# Node's test runner against the site in build-web/site (TG_WEB_BUILD).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
stamp=node_modules/.tumblegrid-installed-lock
if ! cmp -s package-lock.json "$stamp" 2>/dev/null; then
    npm ci --no-audit --no-fund --loglevel=error >/dev/null
    cp package-lock.json "$stamp"
fi
# Emscripten's JavaScript tools need Debian's acorn when Node.js comes from elsewhere.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
exec node --test browser.test.js
