// Numbers read on screen beside each other: one rule for every size, so a
// mean of 1e8 keeps its decimal and an SD of 0.2 does not show its last bits.

#include <gtest/gtest.h>

#include <limits>

#include "apa_format.h"

namespace tarnwick::report::apa {
namespace {

struct ReadableCase {
    const char* name;
    double value;
    const char* text;
};

class Readable : public ::testing::TestWithParam<ReadableCase> {};

TEST_P(Readable, WritesTheValue) { EXPECT_EQ(readable(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Values, Readable,
    ::testing::Values(ReadableCase{"whole", 12, "12"},
                      ReadableCase{"eight_digits", 2.581988897471611, "2.5819889"},
                      ReadableCase{"last_bits_hidden", 0.20000000000000018, "0.2"},
                      ReadableCase{"negative", -1.8333333333333333, "-1.8333333"},
                      ReadableCase{"decimal_beyond_nine_whole_digits", 100000000.2, "100000000.2"},
                      ReadableCase{"offset_of_1e9", 1000000000.875, "1000000000.9"},
                      ReadableCase{"fifteen_digits_at_most", 123456789012345.6, "123456789012346"},
                      ReadableCase{"rounds_up_to_a_power_of_ten", 9.99999999999, "10"},
                      ReadableCase{"small_but_plain", 0.0000012345678912, "0.0000012345679"},
                      ReadableCase{"smallest_plain", 1e-6, "0.000001"},
                      ReadableCase{"below_plain", 9.5e-7, "9.5e-07"},
                      ReadableCase{"huge", 1.1547005383792515e308, "1.1547005e+308"},
                      ReadableCase{"from_1e15", 1e15, "1e+15"},
                      ReadableCase{"subnormal", 1e-320, "1e-320"},
                      ReadableCase{"negative_zero", -0.0, "0"},
                      ReadableCase{"largest", std::numeric_limits<double>::max(),
                                   "1.7976931e+308"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::report::apa
