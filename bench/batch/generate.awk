# Writes a table of ROWS realistic studies for tarnwick-batch
# (awk -v rows=N -v seed=S [-v matched=M -v unequal=U]): a share M (default
# 0.25) matched, a share U of which (default 0.2) have group sizes that
# differ, which the window refuses;
# of the independent rows 4 in 15 with Welch's df, the rest Student's. The
# default gives 55% independent with Student's df, 20% with Welch's, 25%
# matched (5% of all rows refused).
function normal(mean, sd) { return mean + sd * sqrt(-2 * log(1 - rand())) * cos(6.283185307 * rand()) }
function decimals(x, places) { return sprintf("%." places "f", x) }
BEGIN {
    srand(seed == "" ? 1 : seed)
    if (matched == "") matched = 0.25
    if (unequal == "") unequal = 0.2
    print "study,mean1,sd1,n1,mean2,sd2,n2,bound,design,df,mean_diff,sd_diff"
    for (i = 1; i <= rows; i++) {
        sd1 = 2 + 18 * rand(); sd2 = sd1 * (0.6 + 0.8 * rand())
        n1 = 8 + int(190 * rand()); n2 = n1
        mean1 = normal(50, 10); mean2 = mean1 + normal(0, sd1 / 3)
        bound = sd1 * (0.2 + 0.6 * rand())
        kind = rand(); design = ""; df = "student"; meanDiff = ""; sdDiff = ""
        if (kind < matched) {
            design = "matched"; df = ""
            meanDiff = decimals(mean1 - mean2, 3); sdDiff = decimals(sd1 * (0.3 + 0.7 * rand()), 3)
            if (kind < matched * unequal) n2 = n1 + 1 + int(10 * rand())
        } else {
            n2 = 8 + int(190 * rand())
            if (kind < matched + (1 - matched) * 4 / 15) df = "welch"
        }
        printf "\"Study %d, %s\",%s,%s,%d,%s,%s,%d,%s,%s,%s,%s,%s\n", i, (i % 2 ? "pilot" : "main"),
            decimals(mean1, 2), decimals(sd1, 2), n1, decimals(mean2, 2), decimals(sd2, 2), n2,
            decimals(bound, 2), design, df, meanDiff, sdDiff
    }
}
