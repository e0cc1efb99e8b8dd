#!/usr/bin/env bash
# Installs the developer tools, which no build, test or benchmark runs (only those missing):
# clang-format, for `clang-format -i` by the repository's .clang-format.
set -euo pipefail
exec "$(dirname "$0")/setup.sh" clang-format
