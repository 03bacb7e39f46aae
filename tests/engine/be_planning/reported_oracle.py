#!/usr/bin/env python3
"""Writes reported_numbers.csv: the closed forms of bioequivalence from
reported numbers in 50 digits (mpmath), independently of the engine.

    se = sqrt(log(1 + CV^2)) sqrt(bk / S^2 sum 1/n_i), df from the design
    interval exp(log GMR -+ t(1 - alpha, df) se)
    p lower = P(T >= (log GMR - log lower) / se), p upper likewise
    CV from (L, U): se = (log U - log L) / (2 t), CV = sqrt(exp(se^2 / c) - 1)

Run it from this folder to rewrite the file; the test reads the file."""

from mpmath import mp, mpf, log, exp, sqrt, betainc, findroot, nstr

mp.dps = 50

# design: sequences, df = a n + b, bk (Chow & Liu 2009; Hauschke et al. 2007;
# Chen, Chow & Liu 1997; Liu 1995)
DESIGNS = {
    "parallel": (2, 1, -2, 4), "paired": (1, 1, -1, 2), "2x2": (2, 1, -2, 2),
    "3x3": (3, 2, -4, 2), "3x6x3": (6, 2, -4, 2), "4x4": (4, 3, -6, 2),
    "2x2x3": (2, 2, -3, mpf(3) / 2), "2x2x4": (2, 3, -4, 1), "2x4x4": (4, 3, -4, 1),
    "2x3x3": (3, 2, -3, mpf(3) / 2), "2x4x2": (4, 1, -2, 8), "2x2x2r": (2, 3, -2, 1),
}


def upper_tail(t, df):
    x = df / (df + t * t)
    half = betainc(df / 2, mpf(1) / 2, 0, x, regularized=True) / 2
    return half if t >= 0 else 1 - half


def quantile(alpha, df):  # t with P(T >= t) = alpha
    return findroot(lambda t: upper_tail(t, df) - alpha, mpf(2))


def constants(design, sizes):
    s, a, b, bk = DESIGNS[design]
    n = sum(sizes)
    return mpf(a * n + b), mpf(bk) / s**2 * sum(mpf(1) / k for k in sizes)


def interval_row(design, cv, gmr, sizes, alpha="0.05", lower="0.8", upper="1.25"):
    df, c = constants(design, sizes)
    se = sqrt(log(1 + mpf(cv) ** 2)) * sqrt(c)
    t = quantile(mpf(alpha), df)
    low, high = exp(log(mpf(gmr)) - t * se), exp(log(mpf(gmr)) + t * se)
    p_lower = upper_tail((log(mpf(gmr)) - log(mpf(lower))) / se, df)
    p_upper = upper_tail((log(mpf(upper)) - log(mpf(gmr))) / se, df)
    sizes_text = " ".join(str(k) for k in sizes)
    return ",".join(["ci", design, cv, gmr, sizes_text, alpha, lower, upper] +
                    [nstr(v, 20) for v in (low, high, p_lower, p_upper)] + [""])


def cv_row(design, low, high, sizes, alpha="0.05"):
    df, c = constants(design, sizes)
    se = (log(mpf(high)) - log(mpf(low))) / (2 * quantile(mpf(alpha), df))
    cv = sqrt(exp(se * se / c) - 1)
    sizes_text = " ".join(str(k) for k in sizes)
    return ",".join(["cv", design, "", "", sizes_text, alpha, "", "", low, high, "", "",
                     nstr(cv, 20)])


ROWS = [
    interval_row("2x2", "0.25", "0.95", [12, 12]),
    interval_row("2x2", "0.30", "1.02", [13, 12]),
    interval_row("2x2", "0.10", "0.80", [6, 6]),
    interval_row("2x2", "0.45", "1.20", [2, 2]),
    interval_row("2x2", "0.20", "0.90", [1, 2]),
    interval_row("parallel", "0.40", "1.10", [30, 28]),
    interval_row("paired", "0.15", "0.97", [9]),
    interval_row("3x3", "0.22", "1.04", [6, 6, 5]),
    interval_row("3x6x3", "0.30", "0.92", [3, 3, 3, 3, 3, 2]),
    interval_row("4x4", "0.18", "1.00", [4, 4, 4, 4]),
    interval_row("2x2x3", "0.35", "0.93", [12, 11]),
    interval_row("2x2x4", "0.50", "1.08", [10, 10]),
    interval_row("2x4x4", "0.28", "0.96", [5, 5, 4, 4]),
    interval_row("2x3x3", "0.40", "1.05", [8, 8, 8]),
    interval_row("2x4x2", "0.20", "0.98", [6, 6, 5, 5]),
    interval_row("2x2x2r", "0.30", "0.94", [7, 7]),
    interval_row("2x2", "0.15", "1.01", [10, 10], alpha="0.025", lower="0.9", upper="1.1111"),
    interval_row("2x2", "0.005", "1.00", [1000, 1000]),
    cv_row("2x2", "0.8512", "1.0621", [12, 12]),
    cv_row("2x2", "0.9101", "1.1523", [13, 12]),
    cv_row("parallel", "0.7510", "1.2034", [20, 19]),
    cv_row("paired", "0.9350", "1.0440", [16]),
    cv_row("3x3", "0.8800", "1.0900", [6, 6, 6]),
    cv_row("4x4", "0.9200", "1.0500", [3, 3, 3, 3]),
    cv_row("2x2x4", "0.8400", "1.1200", [12, 12]),
    cv_row("2x3x3", "0.8100", "1.1900", [10, 9, 9]),
    cv_row("2x4x2", "0.7700", "1.2100", [5, 5, 5, 5]),
    cv_row("2x2x2r", "0.9000", "1.0800", [8, 7]),
    cv_row("2x2", "0.8000", "1.2500", [2, 2], alpha="0.1"),
]

HEADER = """# Bioequivalence from reported numbers, the closed forms in 50 digits
# (reported_oracle.py writes this file; mpmath, independent of the engine).
# kind ci: design, cv, estimate, sizes per sequence, alpha and bounds give
# low, high (the 100(1 - 2 alpha)% interval), p_lower and p_upper.
# kind cv: design, sizes, alpha and the interval low, high give cv.
kind,design,cv,estimate,sizes,alpha,lower,upper,low,high,p_lower,p_upper,cv_found"""

if __name__ == "__main__":
    with open("reported_numbers.csv", "w") as out:
        out.write(HEADER + "\n" + "\n".join(ROWS) + "\n")
