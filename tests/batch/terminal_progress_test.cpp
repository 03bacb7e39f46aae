// The progress line as a user sees it: standard error is a terminal (a
// pseudo-terminal here), the input comes slowly through a pipe, and the run
// either ends or is stopped with Ctrl-C typed on the terminal.

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

std::string rows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "10,2,10,9,2,10,3\n";
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
    bool interrupted;  // Ctrl-C once the progress line shows, or else the input ends
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
        ::execl(BATCH_PROGRAM, BATCH_PROGRAM, "-o", out.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(input[0]);
    // The line shows once 5000 rows are done and a quarter of a second has
    // passed, so the second half of the rows comes later. The reader takes
    // 64 KiB at a time: 8000 rows more make sure it gets past 5000.
    std::thread feeder([&] {
        writeAll(input[1], "mean1,sd1,n1,mean2,sd2,n2,bound\n" + rows(4000));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        writeAll(input[1], rows(8000));
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

    EXPECT_TRUE(
        std::regex_search(seen, std::regex("^\rtarnwick-batch: [0-9]+ rows, [0-9]+ rows/s")))
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
        EXPECT_NE(seen.find("\rtarnwick-batch: 12000 rows, "), std::string::npos) << seen;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path), {}),
              c.interrupted ? 0 : 1);
}

const ProgressCase progressCases[] = {{"input_ends", false}, {"ctrl_c", true}};

INSTANTIATE_TEST_SUITE_P(Cases, TerminalProgress, ::testing::ValuesIn(progressCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::batch::testing
