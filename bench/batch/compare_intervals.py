#!/usr/bin/env python3
"""Compares the noncentral t interval ends (the d_ci90 columns of both designs)
of two tarnwick-batch outputs of the same table written with --digits full:
the largest relative difference, where it is, and how many ends differ at
all. Every other column is compared for equality, with the columns that
differ counted. Usage: compare_intervals.py BEFORE.csv AFTER.csv"""
import csv
import sys

ENDS = ["ind_d_ci_tost_low", "ind_d_ci_tost_high", "matched_d_ci_tost_low", "matched_d_ci_tost_high"]


def main(before_path, after_path):
    with open(before_path, newline="") as b, open(after_path, newline="") as a:
        before, after = csv.reader(b), csv.reader(a)
        header = next(before)
        if next(after) != header:
            sys.exit("the two outputs have different columns")
        ends = [header.index(name) for name in ENDS]
        largest, where, differing, compared = 0.0, None, 0, 0
        other = {}
        for line, (old, new) in enumerate(zip(before, after), start=2):
            for i in ends:
                if old[i] == "" and new[i] == "":
                    continue
                compared += 1
                if old[i] == new[i]:
                    continue
                differing += 1
                if old[i] == "" or new[i] == "":
                    print(f"line {line} {header[i]}: {old[i]!r} against {new[i]!r}")
                    largest = float("inf")
                    continue
                x, y = float(old[i]), float(new[i])
                relative = abs(x - y) / max(abs(x), abs(y))
                if relative > largest:
                    largest, where = relative, (line, header[i], old[i], new[i])
            for i, (x, y) in enumerate(zip(old, new)):
                if i not in ends and x != y:
                    other[header[i]] = other.get(header[i], 0) + 1
    print(f"interval ends compared {compared}, differing {differing}, "
          f"largest relative difference {largest:.3g}" + (f" at line {where[0]} {where[1]}: "
                                                           f"{where[2]} -> {where[3]}" if where else ""))
    for name, count in sorted(other.items()):
        print(f"other column {name}: {count} rows differ")


if __name__ == "__main__":
    main(*sys.argv[1:3])
