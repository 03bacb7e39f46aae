# Writes a table of ROWS studies whose means differ by many SDs, for
# tarnwick-batch (awk -v rows=N -v seed=S -f generate_large_effects.awk): each
# mean drawn on its own, uniformly in (-50, 50), each SD uniformly in (0.5, 20),
# sizes uniformly from 5 to 400. The standardised differences reach 100 and
# more, so the noncentral t intervals lie far out (noncentralities in the
# thousands). Of the rows 55% independent with Student's df, 20% with Welch's,
# 25% matched (equal sizes, the mean and SD of the differences drawn the same
# way), none refused.
function uniform(low, high) { return low + (high - low) * rand() }
function decimals(x, places) { return sprintf("%." places "f", x) }
BEGIN {
    srand(seed == "" ? 1 : seed)
    print "study,mean1,sd1,n1,mean2,sd2,n2,bound,design,df,mean_diff,sd_diff"
    for (i = 1; i <= rows; i++) {
        mean1 = uniform(-50, 50); mean2 = uniform(-50, 50)
        sd1 = uniform(0.5, 20); sd2 = uniform(0.5, 20)
        n1 = 5 + int(396 * rand()); n2 = 5 + int(396 * rand())
        bound = uniform(0.5, 20)
        kind = rand(); design = ""; df = "student"; meanDiff = ""; sdDiff = ""
        if (kind < 0.25) {
            design = "matched"; df = ""; n2 = n1
            meanDiff = decimals(uniform(-50, 50) - uniform(-50, 50), 3)
            sdDiff = decimals(uniform(0.5, 20), 3)
        } else if (kind < 0.45) {
            df = "welch"
        }
        printf "\"Study %d\",%s,%s,%d,%s,%s,%d,%s,%s,%s,%s,%s\n", i, decimals(mean1, 2),
            decimals(sd1, 2), n1, decimals(mean2, 2), decimals(sd2, 2), n2, decimals(bound, 2),
            design, df, meanDiff, sdDiff
    }
}
