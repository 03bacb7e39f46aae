# The worked numbers of the score analysis tests, from R's own base
# functions: wilcox.test and t.test (package stats), the median of all
# pairwise differences or Walsh averages formed in full, and Yuen's test
# written out from its published formula with pt and qt. The tests carry the
# numbers printed here; neither the build nor the tests run R.
#
#   Rscript tests/engine/score_analysis/r_oracle.R
#
# Every interval is asked for with tol.root = 1e-12, so that R's root of the
# standardised statistic (normal approximation) lands on the order
# statistic where the statistic steps past the critical value.

num <- function(v) paste(sprintf("%.17g", v), collapse = ", ")

rank_independent <- function(name, x, y, lower, upper, alpha, interval_mu) {
  level <- 1 - 2 * alpha
  ge <- wilcox.test(x, y, mu = lower, alternative = "greater")
  le <- wilcox.test(x, y, mu = upper, alternative = "less")
  lower_le <- wilcox.test(x, y, mu = lower, alternative = "less")
  upper_ge <- wilcox.test(x, y, mu = upper, alternative = "greater")
  ci <- wilcox.test(x, y, mu = interval_mu, conf.int = TRUE, conf.level = level,
                    tol.root = 1e-12)
  cat(sprintf("# %s: wilcox.test(x, y, mu = %s, conf.int = TRUE, conf.level = %s, tol.root = 1e-12)\n",
              name, format(interval_mu, digits = 17), format(level)))
  cat("#   ", ci$method, "\n")
  cat("  interval:", num(ci$conf.int), "\n")
  d <- sort(outer(x, y, "-"))
  cat("  median(outer(x, y, \"-\")):", num(median(d)), "\n")
  # The order statistics nearest R's roots, which the selection must return.
  cat("  nearest differences:", num(d[which.min(abs(d - ci$conf.int[1]))]),
      num(d[which.min(abs(d - ci$conf.int[2]))]), "\n")
  for (t in list(list("lower greater", ge), list("upper less", le),
                 list("lower less", lower_le), list("upper greater", upper_ge))) {
    cat(sprintf("  %s: W %s p %s  (%s)\n", t[[1]], num(t[[2]]$statistic), num(t[[2]]$p.value),
                t[[2]]$method))
  }
}

rank_matched <- function(name, x, y, lower, upper, alpha, interval_mu) {
  level <- 1 - 2 * alpha
  ge <- wilcox.test(x, y, paired = TRUE, mu = lower, alternative = "greater")
  le <- wilcox.test(x, y, paired = TRUE, mu = upper, alternative = "less")
  lower_le <- wilcox.test(x, y, paired = TRUE, mu = lower, alternative = "less")
  upper_ge <- wilcox.test(x, y, paired = TRUE, mu = upper, alternative = "greater")
  ci <- wilcox.test(x, y, paired = TRUE, mu = interval_mu, conf.int = TRUE, conf.level = level,
                    tol.root = 1e-12)
  cat(sprintf("# %s: wilcox.test(x, y, paired = TRUE, mu = %s, conf.int = TRUE, conf.level = %s, tol.root = 1e-12)\n",
              name, format(interval_mu, digits = 17), format(level)))
  cat("#   ", ci$method, "\n")
  cat("  interval:", num(ci$conf.int), "\n")
  dd <- x - y
  w <- outer(dd, dd, "+")
  w <- sort(w[!lower.tri(w)]) / 2
  cat("  median of Walsh averages:", num(median(w)), "\n")
  cat("  nearest averages:", num(w[which.min(abs(w - ci$conf.int[1]))]),
      num(w[which.min(abs(w - ci$conf.int[2]))]), "\n")
  for (t in list(list("lower greater", ge), list("upper less", le),
                 list("lower less", lower_le), list("upper greater", upper_ge))) {
    cat(sprintf("  %s: V %s p %s  (%s)\n", t[[1]], num(t[[2]]$statistic), num(t[[2]]$p.value),
                t[[2]]$method))
  }
}

t_tests <- function(name, x, y, lower, upper, alpha, paired) {
  level <- 1 - 2 * alpha
  ci <- t.test(x, y, paired = paired, conf.level = level)
  ge <- t.test(x, y, paired = paired, mu = lower, alternative = "greater")
  le <- t.test(x, y, paired = paired, mu = upper, alternative = "less")
  cat(sprintf("# %s: t.test(x, y, paired = %s, conf.level = %s) and one-sided at mu = %s, %s\n",
              name, paired, format(level), format(lower), format(upper)))
  est <- if (paired) mean(x - y) else mean(x) - mean(y)
  cat("  estimate:", num(est), " df:", num(ci$parameter), " se:", num(ci$stderr), "\n")
  cat("  interval:", num(ci$conf.int), "\n")
  cat("  p lower greater:", num(ge$p.value), " p upper less:", num(le$p.value), "\n")
  cat("  p lower less:", num(1 - ge$p.value), " p upper greater:", num(1 - le$p.value), "\n")
  cat("  (less/greater also as pt: ", num(pt(ge$statistic, ge$parameter)),
      num(pt(le$statistic, le$parameter, lower.tail = FALSE)), ")\n")
}

# Yuen's test of 20% trimmed means, from the formula: g = floor(0.2 n),
# h = n - 2 g, winsorised variance, d = (n - 1) s_w^2 / (h (h - 1)).
yuen_parts <- function(v) {
  n <- length(v); g <- floor(0.2 * n); h <- n - 2 * g; s <- sort(v)
  tm <- mean(s[(g + 1):(n - g)])
  w <- pmin(pmax(s, s[g + 1]), s[n - g])
  list(tm = tm, d = (n - 1) * var(w) / (h * (h - 1)), h = h, g = g)
}

yuen <- function(name, x, y, lower, upper, alpha, paired) {
  if (paired) {
    a <- yuen_parts(x - y); est <- a$tm; se <- sqrt(a$d); df <- a$h - 1
  } else {
    a <- yuen_parts(x); b <- yuen_parts(y); est <- a$tm - b$tm; se <- sqrt(a$d + b$d)
    df <- (a$d + b$d)^2 / (a$d^2 / (a$h - 1) + b$d^2 / (b$h - 1))
  }
  crit <- qt(1 - alpha, df)
  tl <- (est - lower) / se; tu <- (est - upper) / se
  cat(sprintf("# %s: Yuen, %s, bounds %s %s, alpha %s\n", name,
              if (paired) "matched" else "independent", format(lower), format(upper), format(alpha)))
  cat("  estimate:", num(est), " se:", num(se), " df:", num(df), "\n")
  cat("  interval:", num(c(est - crit * se, est + crit * se)), "\n")
  cat("  p lower greater:", num(pt(tl, df, lower.tail = FALSE)), " p upper less:", num(pt(tu, df)), "\n")
  cat("  p lower less:", num(pt(tl, df)), " p upper greater:", num(pt(tu, df, lower.tail = FALSE)), "\n")
}

# Published data sets.
# Hollander and Wolfe (1973), p. 69: permeability constants of the human
# chorioamnion, at term (x) and 12 to 26 weeks (y). No ties.
hw_x <- c(0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46)
hw_y <- c(1.15, 0.88, 0.90, 0.74, 1.21)
# Hollander and Wolfe (1973), p. 29: Hamilton depression scale, first (x)
# and second (y) visit of nine patients. Differences without ties.
dep_x <- c(1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30)
dep_y <- c(0.878, 0.647, 0.598, 2.05, 1.06, 1.29, 1.06, 3.14, 1.29)
# Student (1908) / Cushny and Peebles: extra hours of sleep under two drugs,
# the same ten patients (R's datasets::sleep). Ties, and a zero difference.
sl_1 <- sleep$extra[sleep$group == 1]
sl_2 <- sleep$extra[sleep$group == 2]

# Made-up small sets: three scores a group.
s3_x <- c(1.1, 2.7, 3.2); s3_y <- c(0.4, 1.9, 2.2)
t3_x <- c(1, 2, 2); t3_y <- c(1, 1, 3)

# Large sets from whole-number formulas, the same doubles in R and C++:
# (i * 7919) mod 10007 is one-to-one on 1..10000, so x has no ties.
i <- 1:10000
big_x <- ((i * 7919) %% 10007) / 64
big_y <- (((i * 4973) %% 10009) + 150) / 64
tie_x <- ((i * 7919) %% 101) / 8
tie_y <- (((i * 31) %% 97) + 3) / 8
pair_x <- ((i * 7919) %% 10007) / 64
pair_y <- (((i * 3001) %% 10009) - 40) / 64

cat("== rank, independent\n")
rank_independent("permeability", hw_x, hw_y, -0.25, 0.35, 0.05, 0.0123)
rank_independent("three each", s3_x, s3_y, -1, 1.5, 0.05, 0.0123)
rank_independent("three each, ties", t3_x, t3_y, -1, 1.5, 0.05, 0.0123)
rank_independent("sleep", sl_1, sl_2, -2, 0.5, 0.05, 0.0123)
rank_independent("sleep alpha .025", sl_1, sl_2, -2, 0.5, 0.025, 0.0123)
rank_independent("large, no ties", big_x, big_y, -4, 1, 0.05, 0.0123)
rank_independent("large, ties", tie_x, tie_y, -1.5, 0.5, 0.05, 0.0123)
cat("== rank, matched\n")
rank_matched("depression", dep_x, dep_y, -0.2, 0.5, 0.05, 0.0123)
rank_matched("depression alpha .1", dep_x, dep_y, 0.1, 0.8, 0.1, 0.0123)
rank_matched("sleep", sl_1, sl_2, -2, -1, 0.05, 0.0123)
rank_matched("sleep, bound at a zero difference", sl_1, sl_2, -1.3, 0.5, 0.05, 0.0123)
rank_matched("three pairs", s3_x, s3_y, 0, 1.5, 0.05, 0.0123)
rank_matched("large", pair_x, pair_y, -3, 3, 0.05, 0.0123)
cat("== t\n")
t_tests("permeability", hw_x, hw_y, -0.25, 0.35, 0.05, FALSE)
t_tests("sleep", sl_1, sl_2, -2, 0.5, 0.05, FALSE)
t_tests("sleep paired", sl_1, sl_2, -2, -1, 0.05, TRUE)
t_tests("depression paired", dep_x, dep_y, -0.2, 0.5, 0.05, TRUE)
cat("== Yuen\n")
yuen("permeability", hw_x, hw_y, -0.25, 0.35, 0.05, FALSE)
yuen("sleep", sl_1, sl_2, -2, 0.5, 0.05, FALSE)
yuen("sleep paired", sl_1, sl_2, -2, -1, 0.05, TRUE)
yuen("depression paired", dep_x, dep_y, -0.2, 0.5, 0.05, TRUE)
yuen("large", big_x, big_y, -4, 1, 0.05, FALSE)
yuen("three each", s3_x, s3_y, -1, 1.5, 0.05, FALSE)
