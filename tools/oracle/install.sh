#!/usr/bin/env bash
# Installs the independent scorer the comparison runs against (the npm package
# @kobalab/majiang-core) into a scratch folder (build/oracle by default, which git ignores), only when it is missing.
#   tools/oracle/install.sh [FOLDER]    (default build/oracle, or $ORACLE_DIR)
set -euo pipefail

folder="${1:-${ORACLE_DIR:-build/oracle}}"
version=1.4.1 # the version of the recorded comparison
if [ -d "$folder/node_modules/@kobalab/majiang-core" ]; then
    exit 0
fi
# Some node packagings bring npm with them; Debian's needs its own package.
if ! command -v npm >/dev/null 2>&1; then
    "$(dirname "$0")/../install-deps.sh" oracle
    command -v npm >/dev/null 2>&1 || "$(dirname "$0")/../install-deps.sh" oracle_npm
fi
mkdir -p "$folder"
npm install --prefix "$folder" --no-audit --no-fund "@kobalab/majiang-core@$version" >/dev/null
echo "oracle: @kobalab/majiang-core $(npm ls --prefix "$folder" @kobalab/majiang-core --depth=0 | grep -o '@[0-9][^ ]*' | tail -n 1) in $folder"
