#!/usr/bin/env python3
"""Writes an lcov tracefile from the gcov data of a build, leaving out the
branches that only exist for exceptions thrown through a call (the program
throws none of its own), which this lcov's capture would count.

    gcov_to_lcov.py BUILD_DIR SOURCE_ROOT OUTPUT.info

Only sources under SOURCE_ROOT are kept. Lines and branches of the same source
seen from several objects (headers, template instances) are added up, as
lcov does when it merges.
"""
import collections
import glob
import json
import os
import subprocess
import sys


def main():
    build, root, output = sys.argv[1:4]
    root = os.path.realpath(root)
    lines = collections.defaultdict(lambda: collections.defaultdict(int))
    branches = collections.defaultdict(dict)  # file -> (line, index) -> count
    gcdas = sorted(glob.glob(os.path.join(build, "**", "*.gcda"), recursive=True))
    if not gcdas:
        sys.exit("gcov_to_lcov: no coverage data under " + build)
    for gcda in gcdas:
        # gcov writes one JSON document per data file to stdout.
        out = subprocess.run(
            ["gcov", "--json-format", "--stdout", "--branch-probabilities", gcda],
            cwd=os.path.dirname(gcda), check=True, capture_output=True, text=True).stdout
        for document in out.splitlines():
            if not document.strip():
                continue
            data = json.loads(document)
            cwd = data.get("current_working_directory", os.path.dirname(gcda))
            for f in data["files"]:
                path = os.path.realpath(os.path.join(cwd, f["file"]))
                if not path.startswith(root + os.sep) or "/build/" in path[len(root):]:
                    continue
                for entry in f["lines"]:
                    n = entry["line_number"]
                    lines[path][n] += entry["count"]
                    for index, b in enumerate(entry["branches"]):
                        if b.get("throw"):
                            continue
                        key = (n, index)
                        branches[path][key] = branches[path].get(key, 0) + b["count"]
    with open(output, "w") as info:
        for path in sorted(lines):
            info.write("TN:\nSF:%s\n" % path)
            for n in sorted(lines[path]):
                info.write("DA:%d,%d\n" % (n, lines[path][n]))
            found = hit = 0
            for (n, index), count in sorted(branches[path].items()):
                # A branch of a line never run counts as not executed ("-").
                shown = str(count) if lines[path][n] > 0 else "-"
                info.write("BRDA:%d,0,%d,%s\n" % (n, index, shown))
                found += 1
                hit += 1 if count > 0 else 0
            info.write("BRF:%d\nBRH:%d\n" % (found, hit))
            info.write("LF:%d\nLH:%d\n" % (len(lines[path]),
                                           sum(1 for c in lines[path].values() if c > 0)))
            info.write("end_of_record\n")


if __name__ == "__main__":
    main()
