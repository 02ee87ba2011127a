#!/bin/sh
# Tests of the command-line converter as Windows users in Japan meet it: under
# the ANSI code page 932 (Shift-JIS) paths whose names hold characters with a
# trail byte 0x5C (the path separator's byte), Shift-JIS texts copied byte for
# byte, and the time of day from the system clock where TZ names a zone that
# the C runtime does not know.
#   cli_windows_test.sh CONVERTER RUNNER
# ctest runs it under a Japanese locale (LOCPATH, LANG, LC_ALL), so that the
# UTF-8 names made here reach the converter in Shift-JIS.
set -u
. "$(cd "$(dirname "$0")" && pwd)/cli_support.sh"
converter=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runner=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-cli-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exe=bin/$(basename "$converter")
mkdir bin && cp "$converter" "$exe"

run() {  # run ARGS...: sets $status, out.txt and err.txt (in UTF-8)
    "$runner" "$exe" "$@" >out.sjis 2>err.sjis </dev/null
    status=$?
    iconv -f CP932 -t UTF-8 out.sjis | tr -d '\r' >out.txt
    iconv -f CP932 -t UTF-8 err.sjis | tr -d '\r' >err.txt
}
has_bytes() {  # has_bytes FILE PRINTF_FORMAT: the file holds these bytes
    LC_ALL=C grep -qF "$(printf "$2")" "$1"
}

printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=0\r\n' >utc.ini
contact='2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579\r\n'

# Each CSV path, as typed on Windows, and the ADIF path that belongs to it.
while IFS='|' read -r csv adi what; do
    unix_csv=$(printf '%s' "$csv" | tr '\\' /)
    mkdir -p "$(dirname "$unix_csv")"
    printf "$contact" >"$unix_csv"
    run --settings utc.ini "$csv"
    check "$what: converts" test "$status" -eq 0
    check "$what: the ADIF is $adi" grep -q "^$(printf '%s' "$adi" | sed 's/\\/\\\\/g'): " out.txt
    check "$what: the ADIF is written there" has_bytes "$(printf '%s' "$adi" | tr '\\' /)" '<CALL:4>TEST'
done <<'PATHS'
表\ソ能|表\ソ能.adi|a name without extension, ending in a trail byte 0x5C
表\log.表|表\log.adi|an extension that is such a character
ソ.d\予|ソ.d\予.adi|a folder with an extension
能\予\log.csv|能\予\log.adi|a CSV in folders whose names end in such a character
PATHS

# An .adi-named CSV in such a folder is refused and left untouched.
printf "$contact" >表/ソ.adi
cp 表/ソ.adi before.adi
run --settings utc.ini '表\ソ.adi'
check "an .adi input is refused" test "$status" -eq 1
check "an .adi input is reported" grep -q "Can not open ADI file: it is the CSV file itself" err.txt
check "an .adi input is left untouched" cmp -s 表/ソ.adi before.adi

# A Shift-JIS callsign (JA1ソ能) and comment (表予) byte for byte, their
# lengths in bytes.
printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=0\r\nMY_CALLSIGN=JA1\203\134\224\134\r\n' >sjis.ini
printf '2014,12,8,3,15,JA1\203\134,7.01,,40m,SSB,59,,57,,,,,,,\225\134\227\134,PM95\r\n' >sjis.csv
run --settings sjis.ini sjis.csv
check "Shift-JIS texts convert" test "$status" -eq 0
check "the header names the Shift-JIS callsign" has_bytes sjis.adi 'Z by Vantrel for JA1\203\134\224\134\r\n'
check "a Shift-JIS callsign is copied" has_bytes sjis.adi '<CALL:5>JA1\203\134\r\n'
check "a Shift-JIS comment is copied" has_bytes sjis.adi '<COMMENT:4>\225\134\227\134\r\n'

# The time of day of the status line and of the header ("Generated on ...",
# local time with a time difference of 0) is that of the system clock, in a
# zone half an hour off the whole hours.
seconds_apart() {  # seconds_apart EPOCH EPOCH: across midnight too
    apart=$((($1 - $2) % 86400))
    [ "$apart" -lt 0 ] && apart=$((-apart))
    [ "$apart" -gt 43200 ] && apart=$((86400 - apart))
    echo "$apart"
}
kolkata() { TZ=Asia/Kolkata date "$@"; }
printf "$contact" >clock.csv
TZ=Asia/Kolkata "$runner" "$exe" --settings utc.ini clock.csv >out.txt 2>err.txt </dev/null
now=$(kolkata +%s)
shown=$(sed -n 's/^clock\.adi: \([0-9:]\{8\}\)   Finished 1 QSOs conversion.*/\1/p' out.txt)
check "the status line shows a time of day" test -n "$shown"
[ -n "$shown" ] && check "the status line's time is Kolkata's ($shown)" \
    test "$(seconds_apart "$(kolkata -d "$(kolkata +%F) $shown" +%s)" "$now")" -le 60
generated=$(sed -n 's/^Generated on \([0-9-]\{10\}\) at \([0-9:]\{8\}\)Z by .*/\1 \2/p' clock.adi)
check "the header tells when it was generated" test -n "$generated"
[ -n "$generated" ] && check "the header's time is Kolkata's ($generated)" \
    test "$(seconds_apart "$(kolkata -d "$generated" +%s)" "$now")" -le 60

checks_end "cli windows"
