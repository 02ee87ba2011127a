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
check "records that look wrong are counted, with their lines" contains err.txt \
    "odd.csv: warning: 1 of 2 records look wrong; CSV line 2\$"
check "each kind of record that looks wrong, with its lines" contains err.txt \
    "odd.csv:   1 with a date that is no calendar date (1900 to 2100): CSV line 2"
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

# Keys in any letter case; every switch at values other than 0 and 1;
# fields from columns of their own, and the values their ADIF type refuses.
{
    printf '[VANTREL_LOCAL_PARAMS]\r\ntime_zone=0\r\nColumn_Name=N\r\nCOLUMN_TX_PWR=O\r\nCOLUMN_NAMES=P\r\n'
    for key in CHECK_MHZ CHECK_KHZ CHECK_RST_RCVD CHECK_MY_GL CHECK_COMMENT BAND_FROM_FREQ MODE_TO_ADIF; do
        printf '%s=2\r\n' "$key"
    done
} >fields.ini
printf '2014,12,8,3,15,K1ABC,14.025,,20m,CW,599,,579, Taro ,100W\r\n' >fields.csv
run --settings fields.ini fields.csv
check "a key in lower case is a key" sh -c '! grep -q "unknown key time_zone" err.txt'
check "and is read" contains fields.adi "<TIME_ON:4>0315"
check "a field's key in any case is a key" sh -c '! grep -q "unknown key Column_Name" err.txt'
check "an unknown field's key is named with the nearest" contains err.txt \
    "fields.ini: warning: unknown key COLUMN_NAMES; did you mean COLUMN_NAME?"
check "each switch at 2 is named" test "$(grep -c '=2 counts as off here' err.txt)" -eq 7
check "a field from a column of its own is written, blanks dropped" contains fields.adi "<NAME:4>Taro"
check "a value its ADIF type refuses is reported" contains err.txt \
    "fields.csv:   1 with a TX_PWR that is no ADIF Number"
sed 's/=2/=-1/' fields.ini >minus.ini
run --settings minus.ini fields.csv
check "each switch at -1 is named" test "$(grep -c '=-1 counts as off here' err.txt)" -eq 7

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

# The sample of a Japanese logger's export, with its settings file.
cp "$source_dir/examples/japanese-logger.csv" jp.csv
cp "$source_dir/examples/japanese-logger.ini" jp.ini
run --settings jp.ini jp.csv
check "a Japanese logger's export converts" finished_line "jp.adi" 6
check "the text outside ASCII is named once per field" contains err.txt \
    "^jp.csv: 6 records hold text outside ASCII in COMMENT, NAME, QTH: ADIF files are ASCII"
check "the times marked U are told" contains err.txt "^jp.csv: 2 records had times marked as UTC"

# A title row: the settings lines its titles give, and its columns on request.
# Neither it nor the rows without callsign, date or time are written.
printf 'No.,Date,Time (UTC),Call,Freq (kHz),Mode,His,My,Name\r\n1,2024/05/03,12:34,K1ABC,14074,FT8,-10,-12,Bob\r\n2,,,,,,,,\r\n,,,,,,,,\r\n\r\n3,2024/05/04,01:02,JA1XYZ,7026,usb,59,57,\r\n' >titles.csv
printf 'COLUMN_%s\n' YEAR=B MONTH=B DAY=B HOUR=C MINUTE=C CALLSIGN=D FREQ=E BAND=- MODE=F \
    RST_RCVD=H RST_SENT=G COMMENT=- GL=- NAME=I >columns.txt
printf 'TIME_ZONE=0\nCHECK_MHZ=0\nCHECK_KHZ=1\n' >>columns.txt
run --print-columns titles.csv
check "--print-columns prints the settings lines of the titles" cmp -s out.txt columns.txt
check "--print-columns exits 0" test "$status" -eq 0
check "--print-columns converts nothing" test ! -e titles.adi
run --print-columns two.csv
check "--print-columns of a file without a title row exits 1" test "$status" -eq 1
check "it says so" contains err.txt "^two.csv: line 1 is no title row\$"
check "and prints no settings" test ! -s out.txt
run --settings utc.ini titles.csv
check "titles that differ from the settings are warned about, naming the option" contains err.txt \
    "^titles.csv: warning: line 1 is a title row whose columns differ from the settings: Date B, Time C, Callsign D, Freq E, Mode F, RST Sent G, RST Rcvd H, NAME I; times in UTC; frequencies in kHz; --columns-from-title takes them\$"
check "the title row is not written" contains err.txt "^titles.csv: line 1 is a title row: not written\$"
check "nor a row empty in the callsign, date and time columns" contains err.txt \
    "^titles.csv: 2 rows without callsign, date or time not written: CSV lines 4, 5\$"
check "the rest are, by the settings' columns" finished_line "titles.adi" 3
run --columns-from-title titles.csv
check "--columns-from-title converts the QSOs" finished_line "titles.adi" 2
{
    printf '%s\n' '<CALL:5>K1ABC' '<QSO_DATE:8>20240503' '<TIME_ON:4>1234' '<BAND:3>20m' \
        '<FREQ:6>14.074' '<MODE:3>FT8' '<RST_SENT:3>-10' '<RST_RCVD:3>-12' '<NAME:3>Bob' '<EOR>'
    printf '%s\n' '<CALL:6>JA1XYZ' '<QSO_DATE:8>20240504' '<TIME_ON:4>0102' '<BAND:3>40m' \
        '<FREQ:5>7.026' '<MODE:3>SSB' '<SUBMODE:3>USB' '<RST_SENT:2>59' '<RST_RCVD:2>57' '<EOR>'
} >titles.expected
sed '1,/<EOH>/d' titles.adi | tr -d '\r' >titles.got
check "by the titles' columns, time difference and unit" cmp -s titles.got titles.expected
check "rows without callsign, date or time are not written" contains err.txt \
    "^titles.csv: 3 rows without callsign, date or time not written: CSV lines 3, 4, 5\$"
check "and no longer warns about them" sh -c '! grep -q "title row whose" err.txt'

checks_end "cli"
