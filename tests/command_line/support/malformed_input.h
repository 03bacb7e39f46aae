#pragma once
// What every table program must do with a table it cannot read, whatever the
// table: stop with status 2 and one short line FILE:LINE: that points at the
// bad record, and with -o leave no output file (an existing one as it was).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch_process.h"

namespace tarnwick::batch::testing {

struct MalformedCase {
    const char* name;
    std::string input;
    long line;              // where the message must point
    const char* complaint;  // a piece of the message
};

// Runs `program` with `options` on the case's table, once from a file with -o
// over an earlier output, once from standard input.
inline void expectRefusedAtItsLine(const std::string& program, const MalformedCase& c,
                                   const std::vector<std::string>& options = {}) {
    ScratchFolder scratch;
    const auto input = scratch.path / "in.csv";
    const auto output = scratch.path / "out.csv";
    writeFile(input, c.input);
    writeFile(output, "earlier answers\n");

    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"-o", output.string(), input.string()});
    const Outcome outcome = run(program, arguments);
    EXPECT_EQ(outcome.status, 2);
    const std::string where = input.string() + ":" + std::to_string(c.line) + ": ";
    EXPECT_EQ(outcome.err.rfind(where, 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(c.complaint), std::string::npos) << outcome.err.substr(0, 300);
    // One line, however large or strange the field it names.
    EXPECT_LT(outcome.err.size(), 1000u);
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1);
    EXPECT_EQ(outcome.err.find('\0'), std::string::npos);
    EXPECT_EQ(readFile(output), "earlier answers\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path), {}), 2)
        << "no temporary left";

    const Outcome fromStdin = run(program, options, input);
    EXPECT_EQ(fromStdin.status, 2);
    EXPECT_EQ(fromStdin.err.rfind("<stdin>:" + std::to_string(c.line) + ": ", 0), 0u)
        << fromStdin.err;
}

// --help ends with the exit statuses; --version names the program first.
inline void expectHelpAndVersion(const std::string& program, const std::string& name) {
    const Outcome help = run(program, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
    const Outcome version = run(program, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind(name + " ", 0), 0u) << version.out;
}

// A table answered into -o FILE: nothing on standard output, and the file
// holds what standard output would.
inline void expectOutputFileLikeStandardOutput(const std::string& program,
                                               const std::string& table) {
    ScratchFolder scratch;
    const auto input = scratch.path / "in.csv";
    writeFile(input, table);
    const Outcome toFile =
        run(program, {"-o", (scratch.path / "out.csv").string(), input.string()});
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(scratch.path / "out.csv"), run(program, {input.string()}).out);
}

}  // namespace tarnwick::batch::testing
