#!/usr/bin/env bash
# The program imports only Windows' own DLLs: nothing of the compiler's runtime and
# no libzstd DLL travels with it.
#   imports_test.sh OBJDUMP EXE
set -euo pipefail
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "FAIL: no imports read from $2"; exit 1; }
fremd=$(echo "$dlls" | grep -vxE '(advapi32|comctl32|gdi32|gdiplus|kernel32|msvcrt|ole32|shell32|shlwapi|user32)\.dll' || true)
[ -z "$fremd" ] || { echo "FAIL: $2 imports $(echo $fremd)"; exit 1; }
echo "imports: $(echo $dlls)"
echo "PASS"
