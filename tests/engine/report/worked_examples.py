# Recomputes the worked examples of report_test.cpp from first principles with
# mpmath at 40 digits: Student's t by its integral, the noncentral t cdf by
# integrating the normal cdf over the chi distribution, and roots by secant.
# Independent of Boost and of our own t distribution. Run: python3 worked_examples.py
from mpmath import mp, mpf, sqrt, gamma, quad, ncdf, findroot, inf, exp, log, beta, betainc

mp.dps = 40


def t_upper_tail(t, df):  # P(T >= t), via the regularised incomplete beta
    x = df / (df + t * t)
    half = betainc(df / 2, mpf(1) / 2, 0, x, regularized=True) / 2
    return half if t >= 0 else 1 - half


def t_quantile(p, df):  # the upper p point
    return findroot(lambda t: t_upper_tail(t, df) - p, mpf(1.7))


def nct_cdf(t, df, lam):  # P(T' <= t) = E[ Phi(t sqrt(V/df) - lam) ], V ~ chi^2(df)
    k = df / 2
    dens = lambda v: exp((k - 1) * log(v) - v / 2 - k * log(2) - mp.loggamma(k))
    return quad(lambda v: ncdf(t * sqrt(v / df) - lam) * dens(v), [0, df, 4 * df, inf])


def lam_at(t, df, target, start):
    return findroot(lambda l: nct_cdf(t, df, l) - target, mpf(start))


def report(name, D, s, df_effect, t_obs, scale, se_tost, df_used, bound, ord_t, ord_df, ord_se):
    c90 = t_quantile(mpf("0.05"), df_used)
    c95 = t_quantile(mpf("0.025"), ord_df)
    t_up, t_lo = (D - bound) / se_tost, (D + bound) / se_tost
    j = gamma(df_effect / 2) / (sqrt(df_effect / 2) * gamma((df_effect - 1) / 2))
    lo = lam_at(t_obs, df_effect, mpf("0.95"), t_obs - 1.6)
    hi = lam_at(t_obs, df_effect, mpf("0.05"), t_obs + 1.6)
    print(name)
    for label, v in [
        ("pUpper", 1 - t_upper_tail(t_up, df_used)), ("pLower", t_upper_tail(t_lo, df_used)),
        ("ci90", (D - c90 * se_tost, D + c90 * se_tost)),
        ("ordinary p2", 2 * t_upper_tail(abs(ord_t), ord_df)),
        ("ci95", (D - c95 * ord_se, D + c95 * ord_se)),
        ("d", D / s), ("g", D / s * j), ("d ci90", (lo * scale, hi * scale))]:
        print("  ", label, [mp.nstr(x, 17) for x in v] if isinstance(v, tuple) else mp.nstr(v, 17))


# Run A: means 10 and 9, SDs 2 and 2, sizes 10 and 10, bound 3, Student's df.
n1 = n2 = mpf(10)
s = mpf(2)
se = s * sqrt(1 / n1 + 1 / n2)
report("RunA", mpf(1), s, n1 + n2 - 2, 1 / se, sqrt(1 / n1 + 1 / n2), se, n1 + n2 - 2, mpf(3),
       1 / se, n1 + n2 - 2, se)

# Run B: means 25 and 23, SDs 5 and 8, sizes 20 and 15, bound 6, Welch's df.
n1, n2, s1, s2 = mpf(20), mpf(15), mpf(5), mpf(8)
pooled = sqrt((s1**2 * (n1 - 1) + s2**2 * (n2 - 1)) / (n1 + n2 - 2))
se = pooled * sqrt(1 / n1 + 1 / n2)
wse = sqrt(s1**2 / n1 + s2**2 / n2)
wdf = (s1**2 / n1 + s2**2 / n2) ** 2 / (s1**4 / (n1**2 * (n1 - 1)) + s2**4 / (n2**2 * (n2 - 1)))
report("RunB_Welch", mpf(2), pooled, n1 + n2 - 2, 2 / se, sqrt(1 / n1 + 1 / n2), se, wdf, mpf(6),
       2 / wse, wdf, wse)

# Matched: mean difference 0.5, SD of the differences 1, 30 pairs, bound 1.
n = mpf(30)
se = 1 / sqrt(n)
report("Matched", mpf("0.5"), mpf(1), n - 1, mpf("0.5") / se, sqrt(1 / n), se, n - 1, mpf(1),
       mpf("0.5") / se, n - 1, se)
