#!/usr/bin/env bash
# Assembles an application folder of real files under the 28 installed names, from what
# a machine holds after ./make.sh test: Wine's PE DLLs as the programs and overlays,
# plain text from /usr/share/doc as the help files and test data, a large binary data
# file as the sound. The result feeds bench/pack/run.sh through APP=DIR.
#
#   bench/pack/realdaten.sh DIR
set -euo pipefail

ZIEL=${1:?usage: bench/pack/realdaten.sh DIR}

pe=
for d in /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows \
         /usr/lib/x86_64-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows; do
  if [[ -d $d ]]; then pe=$d; break; fi
done
[[ -n $pe ]] || { echo "no Wine PE DLLs found (install wine64 or run ./make.sh test)" >&2; exit 2; }

# The large binary data file: the ICU data table that Qt pulls in, else the largest
# file of the Wine DLL folder that is not a DLL.
daten=
for f in /usr/lib/x86_64-linux-gnu/libicudata.so.* /usr/lib/*/libicudata.so.*; do
  if [[ -f $f ]]; then daten=$f; break; fi
done
if [[ -z $daten ]]; then
  daten=$(find "$pe" -type f ! -iname '*.dll' -printf '%s %p\n' | sort -n | tail -n1 | cut -d' ' -f2-)
fi

# Every PE file once, largest first; a wanted name that is missing takes the next unused.
mapfile -t alle < <(find "$pe" -maxdepth 1 -type f \( -iname '*.dll' -o -iname '*.exe' \) -printf '%s %f\n' | sort -rn | cut -d' ' -f2-)
declare -A benutzt
pe_datei() {  # pe_datei NAME...: the first of the names that exists and is unused
  local n
  for n in "$@"; do
    if [[ -f $pe/$n && -z ${benutzt[$n]:-} ]]; then benutzt[$n]=1; echo "$pe/$n"; return; fi
  done
  for n in "${alle[@]:2}"; do  # the two largest DLLs would dwarf the rest
    if [[ -z ${benutzt[$n]:-} ]]; then benutzt[$n]=1; echo "$pe/$n"; return; fi
  done
  echo "too few PE files in $pe" >&2; exit 2
}

# text BYTES: plain text from /usr/share/doc, the copyright files in a fixed order,
# repeated when the machine holds fewer bytes than asked for.
mapfile -t texte < <(find /usr/share/doc -type f -name copyright | sort)
[[ ${#texte[@]} -gt 0 ]] || { echo "no texts under /usr/share/doc" >&2; exit 2; }
text() {
  local bytes=$1 versatz=${2:-0}
  # head ends the endless cat early; that broken pipe is no failure.
  { while cat "${texte[@]:versatz}" "${texte[@]:0:versatz}"; do :; done; } 2>/dev/null | head -c "$bytes" || true
}

rm -rf "$ZIEL"
mkdir -p "$ZIEL"/{sound,bilder,stellwerk,fahrplan,help}
cp "$(pe_datei shell32.dll)"        "$ZIEL/KALDORIN_Edit.EXE"
cp "$(pe_datei msxml3.dll)"         "$ZIEL/t4.ovl"
cp "$(pe_datei windowscodecs.dll)"  "$ZIEL/t7.ovl"
cp "$(pe_datei msi.dll)"            "$ZIEL/t8.ovl"
cp "$(pe_datei kernelbase.dll)"     "$ZIEL/t9.ovl"
cp "$(pe_datei ole32.dll)"          "$ZIEL/KALDORIN.XLO"
text 6000 7                       > "$ZIEL/KALDORIN.PA1"
cp "$(pe_datei user32.dll)"         "$ZIEL/KALDORIN.OCX"
cp "$(pe_datei comctl32.dll)"       "$ZIEL/T14.ovl"
cp "$(pe_datei cmd.exe)"            "$ZIEL/Setup.Exe"
head -c $((18 << 20)) "$daten"    > "$ZIEL/sound/pfiff3.wav"
if [[ -f $pe/light.msstyles ]]; then cp "$pe/light.msstyles" "$ZIEL/bilder/lok.bmp"
else cp "$(pe_datei)" "$ZIEL/bilder/lok.bmp"; fi
text 180000 11  > "$ZIEL/stellwerk/test.bws"
text 40000 13   > "$ZIEL/stellwerk/test.tab"
text 12000 17   > "$ZIEL/stellwerk/test.pos"
text 150000 19  > "$ZIEL/fahrplan/test.fpw"
text 30000 23   > "$ZIEL/fahrplan/test.fps"
i=0
for hilfe in Stellwerk GleisbildEingabe Fahrplan FahrstraßenEingabe Datensicherung; do
  text $(( (5 - i / 2) << 20 )) $((100 * i)) > "$ZIEL/help/$hilfe.hlp"
  i=$((i + 1))
done
text 9000 31 > "$ZIEL/help/Stellwrk.cnt"
for hilfe in GleisbildEingabe Fahrplan FahrstraßenEingabe Datensicherung; do
  text 7000 $((37 * ${#hilfe})) > "$ZIEL/help/$hilfe.cnt"
done
cp "$(pe_datei winecfg.exe notepad.exe)" "$ZIEL/DOS_Konverter.Exe"

n=$(find "$ZIEL" -type f | wc -l)
summe=$(find "$ZIEL" -type f -printf '%s\n' | paste -sd+ | bc)
groesste=$(find "$ZIEL" -type f -printf '%s\n' | sort -n | tail -n1)
echo "$ZIEL: $n files, $summe bytes, largest $groesste (PE from $pe, data from $daten)"
