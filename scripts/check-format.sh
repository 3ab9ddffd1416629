#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from .clang-format (Debian's clang-format 14).
# Mend with: clang-format -i $(git ls-files '*.cpp' '*.h')
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "every C++ file keeps to .clang-format"
