// What each of the three programs does when its standard streams are closed
// or a signal ends it: the file named by -o is complete or untouched (no
// tarnwick-partial-* left beside it), and answers meant for a closed
// standard output are an error (status 2) rather than lost with status 0.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

namespace fs = std::filesystem;

struct Program {
    const char* name;
    const char* path;
    std::string table;                   // a table the program answers
    std::string noteTable;               // one it answers with a note on standard error
    std::vector<std::string> arguments;  // what each run needs besides its input
    // A second file, its name and text, that the note table's run reads.
    std::string extraFileOption, extraFileText;
};

const Program programs[] = {
    {"batch",
     BATCH_PROGRAM,
     "study,mean1,sd1,n1,mean2,sd2,n2,bound\ns1,10,2,10,9,2,10,3\n",
     "Mean1,mean1,sd1,n1,mean2,sd2,n2,bound\nx,10,2,10,9,2,10,3\n",
     {},
     {},
     {}},
    {"plan",
     PLAN_PROGRAM,
     "solve,sd,power,bound\nn,1,0.8,0.5\n",
     "Solve,solve,sd,power,bound\nx,n,1,0.8,0.5\n",
     {},
     {},
     {}},
    {"scores",
     SCORES_PROGRAM,
     "group,score\na,1\na,2\na,3\nb,1\nb,2\nb,4\n",
     "group,score\na,1\na,2\na,3\nb,1\nb,2\nb,4\n",
     {"--bound", "1"},
     "--settings",
     "study,bound\nnobody,1\n"},
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

// Temporaries a program left in a folder.
int leftovers(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("tarnwick-partial-");
    return count;
}

// Starts the program with the given descriptors as its standard streams
// (-1: closed), the signals' dispositions as a shell gives them and no core.
pid_t start(const Program& program, std::vector<std::string> arguments, int in, int out, int err) {
    arguments.insert(arguments.end(), program.arguments.begin(), program.arguments.end());
    const pid_t child = ::fork();
    if (child != 0) return child;
    const struct rlimit noCore { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::signal(SIGPIPE, SIG_DFL);
    int wanted[3] = {in, out, err};
    // Out of the way of 0..2 first, so that no dup2 overwrites one still needed.
    for (int& fd : wanted)
        if (fd >= 0) fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
    for (int target = 0; target < 3; ++target) {
        if (wanted[target] >= 0) {
            ::dup2(wanted[target], target);
        } else {
            ::close(target);
        }
    }
    std::vector<char*> argv = {const_cast<char*>(program.path)};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(program.path, argv.data());
    ::_exit(127);
}

int waitFor(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

std::string describe(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("signal ") + ::strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

class ProgramStreams : public ::testing::TestWithParam<Program> {};

// The program reads its table from a pipe held open, so that it waits with
// the temporary created; then a signal ends it.
TEST_P(ProgramStreams, EverySignalThatEndsTheProgramRemovesTheTemporary) {
    const Program& program = GetParam();
    std::vector<int> signals = {SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT,   SIGPIPE, SIGALRM, SIGUSR1,
                                SIGUSR2, SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,
                                SIGSYS,  SIGSTKFLT, SIGABRT, SIGRTMIN,  SIGRTMAX};
#ifndef __SANITIZE_ADDRESS__
    // A sanitizer keeps these for its own report.
    signals.insert(signals.end(), {SIGSEGV, SIGBUS, SIGFPE, SIGILL});
#endif
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    for (int signal : signals) {
        SCOPED_TRACE(::strsignal(signal));
        ScratchFolder scratch;
        const fs::path out = scratch.path / "out.csv";
        writeFile(out, "earlier results\n");
        int input[2];
        ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
        const pid_t child =
            start(program, {"-q", "-o", out.string(), "-"}, input[0], devNull, devNull);
        ::close(input[0]);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (leftovers(scratch.path) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(leftovers(scratch.path), 1) << "the temporary is being written";
        ::kill(child, signal);
        const int status = waitFor(child);
        ::close(input[1]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << describe(status);
        EXPECT_EQ(leftovers(scratch.path), 0);
        EXPECT_EQ(readFile(out), "earlier results\n");
    }
    ::close(devNull);
}

// `program -o out.csv in.csv 2>&1 | true`: the note goes to a pipe nobody
// reads any more, and the write's SIGPIPE ends the program.
TEST_P(ProgramStreams, NoteToAClosedPipeLeavesNoTemporary) {
    const Program& program = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", program.noteTable);
    std::vector<std::string> arguments = {"-o", (scratch.path / "out.csv").string(),
                                          (scratch.path / "in.csv").string()};
    if (!program.extraFileOption.empty()) {
        writeFile(scratch.path / "extra.csv", program.extraFileText);
        arguments.insert(arguments.end(),
                         {program.extraFileOption, (scratch.path / "extra.csv").string()});
    }
    // The note exists: with a reader it arrives.
    const Outcome heard = run(program.path, [&] {
        auto all = arguments;
        all.insert(all.end(), program.arguments.begin(), program.arguments.end());
        all[1] = (scratch.path / "heard.csv").string();
        return all;
    }());
    ASSERT_NE(heard.err.find("note:"), std::string::npos) << heard.err;

    writeFile(scratch.path / "out.csv", "earlier results\n");
    int err[2];
    ASSERT_EQ(::pipe2(err, O_CLOEXEC), 0);
    ::close(err[0]);
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const int status = waitFor(start(program, arguments, devNull, devNull, err[1]));
    ::close(err[1]);
    ::close(devNull);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << describe(status);
    EXPECT_EQ(leftovers(scratch.path), 0);
    EXPECT_EQ(readFile(scratch.path / "out.csv"), "earlier results\n");
}

TEST_P(ProgramStreams, AnswersForAClosedStandardOutputAreAnError) {
    const Program& program = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", program.table);
    const std::string in = (scratch.path / "in.csv").string();
    const std::string expected = [&] {
        auto all = program.arguments;
        all.push_back(in);
        return run(program.path, all).out;
    }();
    ASSERT_FALSE(expected.empty());

    const fs::path errFile = scratch.path / "err";
    for (const std::vector<std::string>& output :
         {std::vector<std::string>{}, std::vector<std::string>{"-o", "-"}}) {
        SCOPED_TRACE(output.empty() ? "no -o" : "-o -");
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        std::vector<std::string> arguments = output;
        arguments.push_back(in);
        const int status = waitFor(start(program, arguments, -1, -1, err));
        ::close(err);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << describe(status);
        EXPECT_EQ(readFile(errFile), fs::path(program.path).filename().string() +
                                         ": standard output is closed: name a file for the "
                                         "answers with -o FILE\n");
    }

    // With -o the answers do not need standard output.
    const int status =
        waitFor(start(program, {"-o", (scratch.path / "out.csv").string(), in}, -1, -1, -1));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << describe(status);
    EXPECT_EQ(readFile(scratch.path / "out.csv"), expected);
    EXPECT_EQ(leftovers(scratch.path), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramStreams, ::testing::ValuesIn(programs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::batch::testing
