// The progress line of both table programs as a user sees it: standard error
// is a terminal (a pseudo-terminal here), the input comes slowly through a
// pipe, and the run either ends or is stopped with Ctrl-C typed on the terminal.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

std::string repeated(const char* row, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += row;
    return text;
}

bool writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// What the terminal has received so far, waiting up to `patience` for `until`.
void readTerminal(int terminal, std::string& seen, const std::string& until,
                  std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (seen.find(until) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) return;  // the program has ended and closed the terminal
        seen.append(buffer, static_cast<std::size_t>(got));
    }
}

struct ProgressCase {
    const char* name;
    const char* program;  // the path of the program run
    const char* label;    // how its progress line starts
    const char* header;
    const char* row;    // one row of the table, repeated
    bool interrupted;   // Ctrl-C once the progress line shows, or else the input ends
    const char* quiet;  // -q or --quiet: the terminal then shows nothing; or none
};

void PrintTo(const ProgressCase& c, std::ostream* out) { *out << c.name; }

class TerminalProgress : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(TerminalProgress, LineIsRewrittenAndEndedWithALineFeed) {
    const ProgressCase& c = GetParam();
    ScratchFolder scratch;
    const auto out = scratch.path / "out.csv";
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::close(input[0]);
        ::close(input[1]);
        ::execl(c.program, c.program, "-o", out.c_str(), c.quiet, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(input[0]);
    // The line shows once 5000 rows are done and a quarter of a second has
    // passed, so the second half of the rows comes later. The reader takes
    // 64 KiB at a time: 8000 rows more make sure it gets past 5000.
    std::thread feeder([&] {
        writeAll(input[1], c.header + repeated(c.row, 4000));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        writeAll(input[1], repeated(c.row, 8000));
        if (!c.interrupted) ::close(input[1]);
    });
    const auto started = std::chrono::steady_clock::now();
    std::string seen;
    readTerminal(terminal, seen, " rows/s", std::chrono::seconds(30));
    feeder.join();
    if (c.interrupted) {
        ASSERT_EQ(::write(terminal, "\x03", 1), 1);  // Ctrl-C, as typed
    }
    readTerminal(terminal, seen, "never shown", std::chrono::seconds(30));
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    ::close(terminal);
    if (c.interrupted) ::close(input[1]);

    if (c.quiet != nullptr) {
        EXPECT_EQ(seen, "");
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(parseCsv(readFile(out)).rows.size(), 12000u);
        return;
    }
    const std::string label = c.label;
    EXPECT_TRUE(std::regex_search(seen, std::regex("^\r" + label + ": [0-9]+ rows, [0-9]+ rows/s")))
        << seen;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), '\n') << "the shell's prompt starts on a line of its own";
    // A few times a second at most (every 250 ms), plus the closing line.
    const long lines = std::count(seen.begin(), seen.end(), '\r') - 1;  // less the pty's CR of LF
    EXPECT_LE(lines, 2 + elapsed / std::chrono::milliseconds(250)) << seen;
    if (c.interrupted) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
        EXPECT_FALSE(std::filesystem::exists(out));
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_NE(seen.find("\r" + label + ": 12000 rows, "), std::string::npos) << seen;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path), {}),
              c.interrupted ? 0 : 1);
}

constexpr const char* batchHeader = "mean1,sd1,n1,mean2,sd2,n2,bound\n";
constexpr const char* batchRow = "10,2,10,9,2,10,3\n";
constexpr const char* planHeader = "study,solve,bound,sd,n1\n";
constexpr const char* planRow = "s,power,0.5,1.2,40\n";

const ProgressCase progressCases[] = {
    {"batch_input_ends", BATCH_PROGRAM, "tarnwick-batch", batchHeader, batchRow, false, nullptr},
    {"batch_ctrl_c", BATCH_PROGRAM, "tarnwick-batch", batchHeader, batchRow, true, nullptr},
    {"batch_quiet", BATCH_PROGRAM, "tarnwick-batch", batchHeader, batchRow, false, "--quiet"},
    {"plan_input_ends", PLAN_PROGRAM, "tarnwick-plan", planHeader, planRow, false, nullptr},
    {"plan_ctrl_c", PLAN_PROGRAM, "tarnwick-plan", planHeader, planRow, true, nullptr},
    {"plan_quiet", PLAN_PROGRAM, "tarnwick-plan", planHeader, planRow, false, "-q"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TerminalProgress, ::testing::ValuesIn(progressCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::batch::testing
