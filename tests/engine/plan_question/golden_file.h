#pragma once
// Expected texts kept in data/: a text compared line by line with its file,
// so that a difference names its case (the line of the last "[...]" heading).
// With TARNWICK_WRITE_GOLDEN set, what the test got is written beside the
// file (FILE.new) for review; it never replaces the file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace tarnwick::planner::testing {

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void compareWithGolden(const std::string& got, const std::string& file) {
    // Built by appending: GCC 12 warns falsely (-Warray-bounds) on the
    // chain of temporaries a + "/" + b once it inlines std::string's moves.
    std::string path = TEST_DATA_DIR;
    path += '/';
    path += file;
    if (std::getenv("TARNWICK_WRITE_GOLDEN")) std::ofstream(path + ".new", std::ios::binary) << got;
    const std::string expected = fileText(path);
    ASSERT_FALSE(expected.empty()) << path << " is missing";
    std::istringstream gotLines(got), expectedLines(expected);
    std::string gotLine, expectedLine, heading;
    while (std::getline(expectedLines, expectedLine)) {
        if (expectedLine.starts_with("[")) heading = expectedLine;
        ASSERT_TRUE(std::getline(gotLines, gotLine)) << "missing from " << heading;
        EXPECT_EQ(gotLine, expectedLine) << heading;
    }
    EXPECT_FALSE(std::getline(gotLines, gotLine)) << "more than " << file << " holds: " << gotLine;
}

}  // namespace tarnwick::planner::testing
