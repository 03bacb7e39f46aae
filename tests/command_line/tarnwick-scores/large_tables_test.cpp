// Large tables: one large study is a long wait with no row done, so the
// progress line on a terminal (a pseudo-terminal here, as a user's is)
// counts its bootstrap replicates and is ended when the run ends; a
// settings table of many studies the scores do not name costs one note; a
// file whose studies' rows stand together is answered study by study as it
// is read, and answers as a pipe's rows, which are all kept, do.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>

#include "batch_process.h"

namespace tarnwick::scores {
namespace {

using namespace batch::testing;

// What the terminal receives until the program ends (at most `patience`).
std::string terminalUntilEnd(int terminal, std::chrono::seconds patience) {
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) break;
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen;
}

TEST(ReplicateProgress, OneLargeStudyShowsItsReplicatesOnATerminal) {
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto out = scratch.path / "out.csv";
    // 30,000 scores a group and 20,000 replicates: 1.2 x 10^9 draws, a second
    // or two of CPU, past the quarter of a second after which the line shows.
    std::string table = "x,y\n";
    for (int i = 0; i < 30000; ++i)
        table += std::to_string(i % 97) + "," + std::to_string((i * 7) % 89) + "\n";
    writeFile(input, table);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(SCORES_PROGRAM, SCORES_PROGRAM, "--bound", "5", "--replicates", "20000", "-o",
                out.c_str(), input.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string seen = terminalUntilEnd(terminal, std::chrono::seconds(300));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << seen;
    EXPECT_TRUE(std::regex_search(
        seen, std::regex("\rtarnwick-scores: 0 rows, [0-9]+ rows/s; [0-9]+ of 20000 "
                         "bootstrap replicates")))
        << seen;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), '\n') << "the shell's prompt starts on a line of its own";
    EXPECT_NE(seen.find("tarnwick-scores: 1 row, "), std::string::npos) << seen;
    EXPECT_EQ(parseCsv(readFile(out)).rows.size(), 1u);
}

struct UnusedCase {
    const char* name;
    int unused;        // settings rows that name no study of the scores
    const char* note;  // what the note says after "the settings of "
};

void PrintTo(const UnusedCase& c, std::ostream* out) { *out << c.name; }

class UnusedSettings : public ::testing::TestWithParam<UnusedCase> {};

TEST_P(UnusedSettings, CostOneNoteNamingTheFirstFew) {
    const UnusedCase& c = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto settings = scratch.path / "settings.csv";
    std::string scores = "study,x,y\n", rows = "study,bound\ns,1\n";
    for (int i = 0; i < 3; ++i)
        scores += "s,1." + std::to_string(i) + ",2\n";
    for (int i = 0; i < c.unused; ++i)
        rows += "u" + std::to_string(i) + ",1\n";
    writeFile(input, scores);
    writeFile(settings, rows);
    const Outcome outcome = run(
        SCORES_PROGRAM, {"--replicates", "99", "--settings", settings.string(), input.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, std::string("tarnwick-scores: note: the settings of ") + c.note + "\n");
    EXPECT_EQ(parseCsv(outcome.out).rows.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnusedSettings,
    ::testing::Values(
        UnusedCase{"one", 1, "study \"u0\" are not used: no scores name it"},
        UnusedCase{"three", 3, "studies \"u0\", \"u1\", \"u2\" are not used: no scores name them"},
        // Sorted by name, so "u1" comes before "u10".
        UnusedCase{"a_hundred_thousand", 100000,
                   "studies \"u0\", \"u1\", \"u10\" and 99997 more are not used: no scores "
                   "name them"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LayoutCase {
    const char* name;
    std::string table;
    std::vector<std::string> options;
    int status;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class StudyByStudy : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(StudyByStudy, AnswersAFileAsAPipe) {
    const LayoutCase& c = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.path / "scores.csv";
    const auto out = scratch.path / "out.csv";
    writeFile(input, c.table);
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"--bound", "2", "--replicates", "99", "--alpha", "0.1"});
    std::string piped = "cat " + quoted(input.string()) + " | " + quoted(SCORES_PROGRAM);
    for (const std::string& argument : arguments)
        piped += " " + quoted(argument);
    const Outcome fromPipe = run("/bin/sh", {"-c", piped + " -"});
    arguments.insert(arguments.end(), {"-o", out.string(), input.string()});
    const Outcome fromFile = run(SCORES_PROGRAM, arguments);
    EXPECT_EQ(fromFile.status, c.status) << fromFile.err;
    EXPECT_EQ(fromPipe.status, c.status) << fromPipe.err;
    const auto withoutName = [](std::string err, const std::string& name) {
        for (std::size_t at; (at = err.find(name)) != std::string::npos;)
            err.replace(at, name.size(), "FILE");
        return err;
    };
    EXPECT_EQ(withoutName(fromFile.err, input.string()), withoutName(fromPipe.err, "<stdin>"));
    if (c.status == 2) {
        EXPECT_FALSE(std::filesystem::exists(out)) << "a refused table leaves no answers";
        EXPECT_EQ(fromPipe.out, "");
    } else {
        EXPECT_EQ(readFile(out), fromPipe.out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StudyByStudy,
    ::testing::Values(
        LayoutCase{"Together", "study,x,y\na,1,2\na,2,4\na,3,3\nb,5,6\nb,6,6\nb,7,9\n", {}, 0},
        LayoutCase{"Interleaved", "study,x,y\na,1,2\nb,5,6\na,2,4\nb,6,6\na,3,3\nb,7,9\n", {}, 0},
        LayoutCase{
            "ReturnsAtTheEnd", "study,x,y\na,1,2\na,2,4\nb,5,6\nb,6,6\nb,7,9\na,3,3\n", {}, 0},
        LayoutCase{
            "TrimmedNamesTogether", "study,x,y\na,1,2\n a,2,4\na ,3,3\nb,5,6\nb,6,6\n", {}, 0},
        LayoutCase{"MatchedLongPairs",
                   "study,pair,group,score\na,1,x,1\na,1,y,2\na,2,x,3\na,2,y,3\na,3,y,5\n"
                   "a,3,x,4\nb,1,x,2\nb,2,x,3\nb,1,y,1\nb,2,y,5\nb,3,x,4\nb,3,y,4\n",
                   {"--design", "matched"},
                   0},
        LayoutCase{"DecimalCommasTogether",
                   "study;x;y\na;1,5;2\na;2;3,5\na;3;3\nb;5;6,25\nb;6;6\nb;7;9\n",
                   {},
                   0},
        LayoutCase{"BadScoreAfterAStudy", "study,x,y\na,1,2\na,2,4\na,3,3\nb,5,6\nb,x,6\n", {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::scores
