#!/usr/bin/env bash
# The program imports only DLLs that Windows always takes from System32, resolved
# before any of its code could restrict the search: nothing of the compiler's runtime,
# no libzstd DLL, and neither GDI+ nor the common controls, which it loads itself.
#   imports_test.sh OBJDUMP EXE
set -euo pipefail
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "FAIL: no imports read from $2"; exit 1; }
fremd=$(echo "$dlls" | grep -vxE '(advapi32|gdi32|kernel32|msvcrt|ole32|shell32|shlwapi|user32)\.dll' || true)
[ -z "$fremd" ] || { echo "FAIL: $2 imports $(echo $fremd)"; exit 1; }
echo "imports: $(echo $dlls)"
echo "PASS"
