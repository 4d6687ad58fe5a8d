#!/usr/bin/env bash
# The stripped program: at most 256 KB, importing system DLLs only, and a header that
# asks for Windows 7 (6.1), which its imports need.
set -u
exe=$1
objdump=${2:-x86_64-w64-mingw32-objdump}
size=$(stat -c %s "$exe")
imports=$($objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
echo "size: $size bytes; imports: $imports"
fail=0
[ "$size" -le 262144 ] || { echo "FAIL: larger than 256 KB"; fail=1; }
for dll in $imports; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | comctl32.dll | wininet.dll | msvcrt.dll | \
        shell32.dll | ole32.dll) ;;
    *) echo "FAIL: imports $dll, which is not a system DLL"; fail=1 ;;
    esac
done
header=$($objdump -p "$exe")
for field in MajorOSystemVersion MajorSubsystemVersion; do
    echo "$header" | grep -Eq "^$field[[:space:]]+6$" || { echo "FAIL: $field is not 6"; fail=1; }
done
for field in MinorOSystemVersion MinorSubsystemVersion; do
    echo "$header" | grep -Eq "^$field[[:space:]]+1$" || { echo "FAIL: $field is not 1"; fail=1; }
done
exit $fail
