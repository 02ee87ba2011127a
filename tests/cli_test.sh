#!/bin/sh
# Tests of the command-line converter as a user runs it.
#   cli_test.sh CONVERTER SOURCE_DIR [RUNNER]
# RUNNER (for example the Wine wrapper) is put before the converter.
set -u
. "$(cd "$(dirname "$0")" && pwd)/cli_support.sh"
converter=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
runner=${3:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exe_name=$(basename "$converter")
mkdir bin && cp "$converter" "bin/$exe_name"

run() {  # run ARGS...: the copied converter; sets $status, out.txt, err.txt
    $runner "bin/$exe_name" "$@" >out.txt 2>err.txt </dev/null
    status=$?
    tr -d '\r' <out.txt >out.tmp && mv out.tmp out.txt
    tr -d '\r' <err.txt >err.tmp && mv err.tmp err.txt
}
finished_line() { grep -Eq "^$1: [0-9]{2}:[0-9]{2}:[0-9]{2}   Finished $2 QSOs conversion\$" out.txt; }

printf '2014,12,8,3,15,K1TST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91\r\n2014,1,1,5,0,JA1XYZ,7.010,,40m,SSB,59,,59\r\n' >two.csv
printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=0\r\nCSV_NAME=two.csv\r\n' >utc.ini

# Help, version and bad usage.
run --help
check "--help exits 0 with the usage" test "$status" -eq 0 -a -s out.txt
check "--help shows the usage" contains out.txt "Usage: vantrel-convert"
run --version
check "--version exits 0" test "$status" -eq 0
check "--version names the program" contains out.txt "vantrel-convert"
run --frobnicate two.csv
check "an unknown option exits 2" test "$status" -eq 2
check "an unknown option shows the usage" contains err.txt "Usage:"
run --settings
check "--settings without a file exits 2" test "$status" -eq 2
run --settings missing.ini two.csv
check "a missing --settings file exits 2" test "$status" -eq 2
check "nothing is converted after bad usage" test ! -e two.adi

# One file with a settings file: output path and final status on stdout.
run --settings utc.ini two.csv
check "a conversion exits 0" test "$status" -eq 0
check "the output path and the finished status are printed" finished_line "two.adi" 2
check "the ADIF is written beside the CSV" contains two.adi "<CALL:6>JA1XYZ"
check "the settings file's time difference is used" contains two.adi "<QSO_DATE:8>20141208"
rm -f two.adi

# A settings file as Notepad saves it, with a UTF-8 byte order mark.
printf '\357\273\277[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=JA1XYZ\r\n' >bom.ini
run --settings bom.ini two.csv
check "a settings file with a byte order mark is read" contains two.adi "by Vantrel for JA1XYZ"
rm -f two.adi

# No CSV named: the settings' CSV_NAME.
run --settings utc.ini
check "without a CSV the settings' CSV_NAME is converted" finished_line "two.adi" 2
rm -f two.adi

# The settings file beside the executable, used when no --settings is given.
printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=-1\r\nCHECK_COMMENT=0\r\n' >bin/Vantrel.ini
cp bin/Vantrel.ini ini.before
run two.csv
check "the settings beside the executable are used" contains two.adi "<TIME_ON:4>0415"
check "the comment switch from beside the executable is used" sh -c '! grep -q COMMENT two.adi'
check "the converter never writes the settings file" cmp -s bin/Vantrel.ini ini.before
rm -f bin/Vantrel.ini two.adi
run --settings utc.ini two.csv
check "no settings file appears beside the executable" test ! -e bin/Vantrel.ini

# A program folder too long for a settings path: the defaults are used.
if [ -z "$runner" ]; then
    deep=$work/$(printf '%0120d' 0)/$(printf '%0120d' 1)
    mkdir -p "$deep" && cp "bin/$exe_name" "$deep/$exe_name"
    printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=0\r\n' >"$deep/Vantrel.ini"
    "$deep/$exe_name" two.csv >out.txt 2>err.txt </dev/null
    check "a settings file beyond 255 bytes of path is not read" contains two.adi "<TIME_ON:4>1815"
    rm -f two.adi
fi

# On a terminal, a live count of the converted QSOs, cleared before the
# final line: stderr on a pseudo-terminal, the logbook arriving through a pipe
# in two parts, so that the count shows while the converter waits for the rest.
if [ -z "$runner" ]; then
    awk 'BEGIN { for (i = 0; i < 4000; i++) printf "2014,12,8,3,15,K%d,7.0\r\n", i }' >part.csv
    mkfifo slow.csv
    { cat part.csv; sleep 2; cat part.csv; } >slow.csv &
    script -qec "bin/$exe_name --settings utc.ini slow.csv" /dev/null >tty.txt </dev/null
    wait
    check "on a terminal the count of converted QSOs shows" contains tty.txt "$(printf '\r')Converted  [0-9]* QSOs"
    check "the count is cleared before the final line" \
        grep -qF "$(printf '\r\033[K')slow.adi: " tty.txt
    check "the final line follows" grep -Eq "Finished 8000 QSOs conversion" tty.txt
fi

# Failures: reported on stderr, the other files still converted, exit 1.
cp two.csv three.csv
long=$(printf '%0300d' 0).csv
run --settings utc.ini missing.csv three.csv "$long"
check "a failed file makes the exit status 1" test "$status" -eq 1
check "a missing CSV is reported on stderr" contains err.txt "missing.csv: Can not open CSV file"
check "a path over 255 bytes is refused" contains err.txt "longer than 255 bytes"
check "the remaining files are still converted" finished_line "three.adi" 2
cp two.csv log.adi
run --settings utc.ini log.adi
check "an .adi input is refused" contains err.txt "Can not open ADI file: it is the CSV file itself"
check "an .adi input is left untouched" cmp -s log.adi two.csv

# The bundled sample logbook converts.
cp "$source_dir/examples/logbook.csv" sample.csv
run --settings utc.ini sample.csv
rows=$(grep -c '' sample.csv)
check "the sample logbook converts completely" finished_line "sample.adi" "$rows"

# What the converter tells beside the status: unknown keys, records that look
# wrong, how a file was read. None of it changes the ADIF file or the exit.
run --settings utc.ini two.csv
check "a file that reads plainly gets no note or warning" test ! -s err.txt
printf '[VANTREL_LOCAL_PARAMS]\r\n;COLUMN_CALL=F\r\n# note=1\r\nCOLUMN_CALL=F\r\nTIME_ZONE=0\r\nCHECK_RST_RCVD=2\r\nCHECK_MY_GL=1\r\nCHECK_COMMENT=0\r\n' >typo.ini
printf 'Year,Month,Day,Hour,Minute,Call\r\n2014,11,31,3,15,K1ABC\r\n\r\n2014,12,8,3,15,K1ABD\r\n' >odd.csv
run --settings typo.ini odd.csv
check "warnings leave the exit status alone" test "$status" -eq 0
check "an unknown key is named with the nearest known one" \
    contains err.txt "typo.ini: warning: unknown key COLUMN_CALL; did you mean COLUMN_CALLSIGN?"
check "commented-out lines are no keys" test "$(grep -c 'unknown key' err.txt)" -eq 1
check "a check value other than 0 and 1 is named" test "$(grep -c 'counts as off' err.txt)" -eq 1
check "what it does is told" contains err.txt \
    "typo.ini: warning: CHECK_RST_RCVD=2 counts as off here; the window shows it checked"
check "records that look wrong are counted, with their lines and a hint" contains err.txt \
    "odd.csv: warning: 3 of 4 records look wrong; CSV lines 1, 2, 3 (a title row or an empty line?)"
check "each kind of record that looks wrong, with its lines" contains err.txt \
    "odd.csv:   3 with a date that is no calendar date (1900 to 2100): CSV lines 1, 2, 3"
check "every line still makes a record" finished_line "odd.adi" 4
printf 'Year,Month,Day,Hour,Minute,Call\r\n2014,12,8,3,15,K1ABC\r\n' >titled.csv
run --settings utc.ini titled.csv
check "a title row alone gets the hint too" \
    contains err.txt "titled.csv: warning: 1 of 2 records look wrong; CSV line 1 (a title row or an empty line?)"
printf '\357\273\2772014;12;8;3;15;K1ABC;14,074\r2014;12;8;3;16;K1ABD;14,075\r' >mac.csv
run --settings utc.ini mac.csv
check "a skipped byte order mark is told" contains err.txt "mac.csv: skipped the UTF-8 byte order mark"
check "CR-only lines are told" contains err.txt "mac.csv: read with lines ended by CR alone"
check "a ';' file is told" contains err.txt "mac.csv: read as ';'-separated"
check "such a file converts" contains mac.adi "<CALL:5>K1ABD"
check "its decimal commas are decimal points" contains mac.adi "<FREQ:6>14.075"
printf 'PK\003\004\000\000\024\000' >book.csv
run --settings utc.ini book.csv
check "a file that is no text is refused" test "$status" -eq 1
check "it is told why" contains err.txt "book.csv: Can not read CSV file: not a text file"
check "and no ADIF file appears" test ! -e book.adi
mkdir folder.ini
run --settings folder.ini two.csv
check "a folder as the settings file is bad usage" test "$status" -eq 2
check "it is told" contains err.txt "settings file folder.ini can not be read"

# Dates and times as spreadsheets hold them.
printf '2024/05/03,,,12:34,,K1ABC\r\n' >whole.csv
run --settings utc.ini whole.csv
check "a year column of whole dates is hinted at" contains err.txt \
    "whole.csv: warning: column A holds whole dates such as 2024/05/03: name it for year, month and day"
check "an hour column of whole times is hinted at" contains err.txt \
    "whole.csv: warning: column D holds whole times such as 12:34: name it for hour and minute"
printf '[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=0\r\nCOLUMN_MONTH=A\r\nCOLUMN_DAY=A\r\nCOLUMN_HOUR=B\r\nCOLUMN_MINUTE=B\r\nCOLUMN_CALLSIGN=C\r\n' >dates.ini
printf '3/5/2024,9:05 PM,K1ABC\r\n03/05/24,5 PM,K1ABD\r\n45415,2105,K1ABE\r\n3/5/2024,12:34U,K1ABF\r\n' >excel.csv
run --settings dates.ini excel.csv
check "the day/month order taken from the system is told" contains err.txt \
    "excel.csv: read dates such as 3/5/2024 as .*, the order of the system's short date format"
check "two-digit years read are noted" contains err.txt \
    "excel.csv: read 03/05/24 as 2024-0[35]-0[35]: two-digit years 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999"
check "times marked as UTC are noted" contains err.txt \
    "excel.csv: 1 record had a time marked as UTC (U, Z, UTC or GMT): not shifted by the time difference"
check "an hour alone with PM is read" contains excel.adi "<TIME_ON:4>1700"
check "date numbers are named" contains err.txt \
    "excel.csv:   1 with a spreadsheet's date number (format the column as a date before saving): CSV line 3"

checks_end "cli"
