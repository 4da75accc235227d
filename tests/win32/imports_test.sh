#!/usr/bin/env bash
# The program imports only Windows' own DLLs: nothing of the compiler's runtime and
# no libzstd DLL travels with it.
#   imports_test.sh OBJDUMP EXE
set -euo pipefail
allowed=" advapi32.dll comctl32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll shlwapi.dll user32.dll "
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "FAIL: no imports read from $2"; exit 1; }
for dll in $dlls; do
  case "$allowed" in
    *" $dll "*) ;;
    *) echo "FAIL: $2 imports $dll"; exit 1 ;;
  esac
done
echo "imports: $(echo $dlls)"
echo "PASS"
