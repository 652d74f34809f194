#!/bin/bash
# Every C++ file of the project is formatted as .clang-format says.
#   check_format.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2
command -v clang-format >/dev/null || { echo "SKIP: clang-format is not installed"; exit 77; }
mapfile -t files < <(find src tests bench fuzz tools packaging -name '*.cpp' -o -name '*.h' | sort)
echo "checking ${#files[@]} files with $(clang-format --version)"
clang-format --dry-run --Werror "${files[@]}"
