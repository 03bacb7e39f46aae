// The number rules against the C library's own conversions in the C locale
// (the oracle), and unchanged under a locale whose decimal mark is a comma.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "fixed_text.h"
#include "shortest_text.h"
#include "significant_text.h"

namespace tarnwick::number_text {
namespace {

struct Row {
    double value;
    int digits;  // significantText's; 0 for shortestText; fixedText's as -1 - decimals
    const char* text;
};

// The edges: a negative zero, the exponent's thresholds, the largest and the
// smallest doubles, rounding that carries into a new digit.
constexpr Row rows[] = {
    {0.1, 0, "0.1"},
    {-0.0, 0, "-0"},
    {1e-5, 0, "1e-05"},
    {1.2e20, 0, "1.2e+20"},
    {std::numeric_limits<double>::max(), 0, "1.7976931348623157e+308"},
    {-std::numeric_limits<double>::denorm_min(), 0, "-5e-324"},
    {1.0 / 3, 6, "0.333333"},
    {17.78, 6, "17.78"},
    {-0.0, 6, "0"},
    {1e-5, 6, "1e-05"},
    {0.0001, 6, "0.0001"},
    {999999.5, 6, "1e+06"},
    {123456.5, 6, "123456"},  // the tie goes to the even neighbour
    {1234567.0, 6, "1.23457e+06"},
    {2.5, 1, "2"},
    {0.1 + 0.2, 17, "0.30000000000000004"},
    {17.7849, -3, "17.78"},
    {-0.004, -3, "-0.00"},
    {0.125, -3, "0.12"},  // an exact tie goes to the even neighbour
    {0.375, -3, "0.38"},
    {1e6, -3, "1000000.00"},
    {2.5, -1, "2"},
    {-std::numeric_limits<double>::max(), -1,
     "-17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
     "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
     "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
     "168738177180919299881250404026184124858368"},
};

std::string printfG(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

void checkRows() {
    for (const Row& row : rows) {
        const std::string text = row.digits == 0  ? shortestText(row.value)
                                 : row.digits > 0 ? significantText(row.value, row.digits)
                                                  : fixedText(row.value, -1 - row.digits);
        EXPECT_EQ(text, row.text) << row.value << " to " << row.digits;
    }
}

TEST(NumberText, WritesTheEdgesByItsRules) { checkRows(); }

TEST(NumberText, AgreesWithTheCLibraryAndReadsBack) {
    std::mt19937_64 random(27);
    std::uniform_real_distribution<double> exponent(-30, 30), mantissa(-10, 10);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int digits = 1 + i % 17;
        EXPECT_EQ(significantText(value, digits), printfG(value, digits)) << value;
        char fixed[400];
        std::snprintf(fixed, sizeof fixed, "%.*f", digits - 1, value);
        EXPECT_EQ(fixedText(value, digits - 1), fixed) << value;
        const std::string text = shortestText(value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
        // Shortest: not longer than the fewest significant digits that read back.
        int fewest = 1;
        while (std::strtod(printfG(value, fewest).c_str(), nullptr) != value)
            ++fewest;
        EXPECT_LE(text.size(), printfG(value, fewest).size()) << text;
    }
}

TEST(NumberText, KeepsItsPointUnderACommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    checkRows();
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tarnwick::number_text
