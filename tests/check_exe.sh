#!/usr/bin/env bash
# The stripped program: at most 256 KB, a header that asks for Windows 7 (6.1), which its
# imports need, and as ordinary imports only DLLs that are KnownDLLs on every Windows from 7
# to 11: Windows resolves those before any code of ours runs, and any other DLL it would
# look for in the program's folder first. Every other DLL is delay-loaded (the program loads
# it from System32 by its full path), each function of it one that Windows 7 SP1 has.
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
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll) ;;
    *) echo "FAIL: imports $dll ordinarily, which is not a KnownDLL on every Windows 7 to 11"; fail=1 ;;
    esac
done
header=$($objdump -p "$exe")
for field in MajorOSystemVersion MajorSubsystemVersion; do
    echo "$header" | grep -Eq "^$field[[:space:]]+6$" || { echo "FAIL: $field is not 6"; fail=1; }
done
for field in MinorOSystemVersion MinorSubsystemVersion; do
    echo "$header" | grep -Eq "^$field[[:space:]]+1$" || { echo "FAIL: $field is not 1"; fail=1; }
done

# The delay-load descriptors (ImgDelayDescr, delayimp.h), found by their shape: the linker
# leaves the delay-import directory of the header empty. The minimum Windows of each
# function is its "Minimum supported client" on learn.microsoft.com.
delayed=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections = struct.unpack_from("<H", data, pe + 6)[0]
table = pe + 24 + struct.unpack_from("<H", data, pe + 20)[0]
spans = []
for i in range(sections):
    size, rva, raw, offset = struct.unpack_from("<IIII", data, table + 40 * i + 8)
    spans.append((rva, max(size, raw), offset, raw))
def at(rva):
    for start, size, offset, raw in spans:
        if start <= rva < start + size and rva - start < raw:
            return offset + rva - start
    return None
def text(rva):
    o = at(rva)
    return None if o is None else data[o:data.index(b"\0", o)].decode("ascii", "replace")
for o in range(0, len(data) - 32, 4):
    attrs, name, hmod, iat, names = struct.unpack_from("<IIIII", data, o)
    dll = text(name) if attrs == 1 and name else None
    if not dll or not dll.lower().endswith(".dll") or at(iat) is None or at(names) is None:
        continue
    n = at(names)
    while True:
        thunk = struct.unpack_from("<Q", data, n)[0]
        if thunk == 0: break
        print(dll.lower(), "#%d" % (thunk & 0xFFFF) if thunk >> 63 else text(thunk + 2))
        n += 8
PY
)
echo "delay-loaded: $(echo "$delayed" | tr '\n' ' ')"
[ -n "$delayed" ] || { echo "FAIL: no delay-loaded function found"; fail=1; }
while read -r dll function; do
    [ -n "$dll" ] || continue
    case "$dll $function" in
    "comctl32.dll DefSubclassProc" | "comctl32.dll InitCommonControlsEx" | \
        "comctl32.dll RemoveWindowSubclass" | "comctl32.dll SetWindowSubclass") ;; # XP
    "ole32.dll CoInitializeEx" | "ole32.dll CoTaskMemFree" | "ole32.dll CoUninitialize") ;; # 2000
    "shell32.dll SHGetKnownFolderPath") ;;                                                 # Vista
    "shell32.dll ShellExecuteExW") ;;                                                      # XP
    "wininet.dll HttpOpenRequestW" | "wininet.dll HttpQueryInfoW" | "wininet.dll HttpSendRequestW" | \
        "wininet.dll InternetCloseHandle" | "wininet.dll InternetCombineUrlW" | \
        "wininet.dll InternetConnectW" | "wininet.dll InternetCrackUrlW" | \
        "wininet.dll InternetOpenW" | "wininet.dll InternetQueryDataAvailable" | \
        "wininet.dll InternetQueryOptionW" | "wininet.dll InternetReadFile" | \
        "wininet.dll InternetSetOptionW") ;; # 2000
    "ws2_32.dll FreeAddrInfoW" | "ws2_32.dll GetAddrInfoW") ;; # XP SP2
    "ws2_32.dll WSAStartup" | "ws2_32.dll WSAGetLastError" | \
        "ws2_32.dll bind" | "ws2_32.dll closesocket" | "ws2_32.dll connect" | \
        "ws2_32.dll getsockname" | "ws2_32.dll recv" | "ws2_32.dll recvfrom" | \
        "ws2_32.dll select" | "ws2_32.dll send" | "ws2_32.dll sendto" | \
        "ws2_32.dll setsockopt" | "ws2_32.dll socket") ;; # 2000
    "iphlpapi.dll GetBestRoute") ;;                        # 2000
    "xmllite.dll CreateXmlReader") ;;                      # Vista (XP SP2 with the redistributable)
    *) echo "FAIL: $function of $dll, delay-loaded, is not known to be in Windows 7 SP1"; fail=1 ;;
    esac
done <<<"$delayed"
exit $fail
