// Where -o writes: a regular file is replaced whole, anything else that is
// not a regular file keeps being what it was and gets the output as the
// shell's ">" would give it; and what the program does when its standard
// streams are closed or a signal ends it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

namespace fs = std::filesystem;

const std::string table = "study,mean1,sd1,n1,mean2,sd2,n2,bound\ns1,10,2,10,9,2,10,3\n";

bool isCharacterDevice(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

// Temporaries the program left in a folder.
int leftovers(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().find("partial") != std::string::npos;
    return count;
}

struct TargetCase {
    const char* name;
    // Prepares the target in the scratch folder and returns the name for -o.
    std::function<std::string(const fs::path& scratch)> prepare;
    // Checks the target after the run; `expected` is what standard output gets.
    std::function<void(const fs::path& scratch, const std::string& expected)> check;
};

const TargetCase targetCases[] = {
    {"regular_file_replaced",
     [](const fs::path& s) {
         writeFile(s / "out.csv", "earlier results\n");
         fs::permissions(s / "out.csv", fs::perms(0640));
         return (s / "out.csv").string();
     },
     [](const fs::path& s, const std::string& expected) {
         EXPECT_EQ(readFile(s / "out.csv"), expected);
         EXPECT_EQ(fs::status(s / "out.csv").permissions(), fs::perms(0640)) << "mode kept";
     }},
    {"longest_name_a_folder_allows",
     [](const fs::path& s) { return (s / std::string(249, 'x')).string(); },
     [](const fs::path& s, const std::string& expected) {
         EXPECT_EQ(readFile(s / std::string(249, 'x')), expected);
     }},
    {"symbolic_link_kept_and_its_file_replaced",
     [](const fs::path& s) {
         fs::create_directory(s / "data");
         writeFile(s / "data" / "real.csv", "earlier results\n");
         fs::create_symlink("data/real.csv", s / "out.csv");
         return (s / "out.csv").string();
     },
     [](const fs::path& s, const std::string& expected) {
         EXPECT_TRUE(fs::is_symlink(s / "out.csv"));
         EXPECT_EQ(fs::read_symlink(s / "out.csv"), "data/real.csv");
         EXPECT_EQ(readFile(s / "data" / "real.csv"), expected);
         EXPECT_EQ(leftovers(s / "data"), 0);
     }},
    {"dangling_link_creates_its_file",
     [](const fs::path& s) {
         fs::create_symlink("new.csv", s / "out.csv");
         return (s / "out.csv").string();
     },
     [](const fs::path& s, const std::string& expected) {
         EXPECT_TRUE(fs::is_symlink(s / "out.csv"));
         EXPECT_EQ(readFile(s / "new.csv"), expected);
     }},
    // Only where a fault cannot replace the system's own /dev/null: as root
    // the copy below stands in for it.
    {"dev_null_stays_a_device",
     [](const fs::path&) { return std::string(::geteuid() == 0 ? "" : "/dev/null"); },
     [](const fs::path&, const std::string&) { EXPECT_TRUE(isCharacterDevice("/dev/null")); }},
    {"device_node_copy_stays_a_device",
     [](const fs::path& s) {
         if (::mknod((s / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
             return std::string();
         return (s / "null").string();
     },
     [](const fs::path& s, const std::string&) {
         EXPECT_TRUE(isCharacterDevice(s / "null"));
         EXPECT_EQ(readFile(s / "null"), "") << "still the null device";
     }},
};

void PrintTo(const TargetCase& c, std::ostream* out) { *out << c.name; }

class OutputTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(OutputTarget, GetsTheOutputAndKeepsItsKind) {
    const TargetCase& c = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", table);
    const std::string target = c.prepare(scratch.path);
    if (target.empty()) GTEST_SKIP() << "not safe or not permitted for this user";
    const std::string expected = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()}).out;
    ASSERT_FALSE(expected.empty());

    const Outcome outcome = run(BATCH_PROGRAM, {"-o", target, (scratch.path / "in.csv").string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    c.check(scratch.path, expected);
    EXPECT_EQ(leftovers(scratch.path), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputTarget, ::testing::ValuesIn(targetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OutputTargetStreams, NamedPipeAndStandardOutputGetTheOutputDirectly) {
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv", table);
    const std::string input = (scratch.path / "in.csv").string();
    const std::string expected = run(BATCH_PROGRAM, {input}).out;

    const fs::path pipe = scratch.path / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe for reading waits for its writer, so the reader runs beside.
    auto received = std::async(std::launch::async, [&] { return readFile(pipe); });
    EXPECT_EQ(run(BATCH_PROGRAM, {"-o", pipe.string(), input}).status, 0);
    if (received.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // The program never opened the pipe: release the waiting reader.
        ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    }
    EXPECT_EQ(received.get(), expected);
    EXPECT_TRUE(fs::is_fifo(pipe));

    // /proc/self/fd/1 rather than /dev/stdout, which a fault would replace for
    // the whole system when the tests run as root.
    const Outcome toStdout = run(BATCH_PROGRAM, {"-o", "/proc/self/fd/1", input});
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, expected);
    EXPECT_EQ(leftovers(scratch.path), 0);
}

TEST(OutputTargetStreams, EmptyNameAndFolderAreRefusedBeforeTheInputIsRead) {
    ScratchFolder scratch;
    const Outcome empty = run(BATCH_PROGRAM, {"-o", "", "/nonexistent/in.csv"});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("-o needs a file name"), std::string::npos) << empty.err;

    const Outcome folder =
        run(BATCH_PROGRAM, {"--output", scratch.path.string(), "/nonexistent/in.csv"});
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err,
              "tarnwick-batch: cannot write to " + scratch.path.string() + ": Is a directory\n");

    const std::string nowhere = (scratch.path / "no-such-folder" / "out.csv").string();
    const Outcome missing = run(BATCH_PROGRAM, {"-o", nowhere, "/nonexistent/in.csv"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "tarnwick-batch: cannot create a temporary file beside " + nowhere +
                               ": No such file or directory\n");
    EXPECT_EQ(leftovers(scratch.path), 0);
}

// The rename needs only the folder's permission, so a file its user may not
// write would be replaced unless the program refuses it as the shell's ">"
// does. Run as an ordinary user; a user who may write it (root) gets it replaced.
TEST(OutputTargetStreams, WriteProtectedFileIsRefusedBeforeTheInputIsRead) {
    ScratchFolder scratch;
    fs::permissions(scratch.path, fs::perms::all);  // the ordinary user's folder too
    writeFile(scratch.path / "in.csv", table);
    const fs::path target = scratch.path / "ro.csv";
    const bool root = ::geteuid() == 0;
    for (const char* program : {BATCH_PROGRAM, PLAN_PROGRAM}) {
        SCOPED_TRACE(program);
        writeFile(target, "earlier results\n");
        fs::permissions(target, fs::perms(0444));
        std::vector<std::string> command = {program, "-o", target.string(),
                                            (scratch.path / "no-such-input.csv").string()};
        if (root)
            command.insert(command.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups"});
        const Outcome refused = run(root ? "/usr/bin/setpriv" : program,
                                    {command.begin() + (root ? 0 : 1), command.end()});
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, fs::path(program).filename().string() + ": cannot write to " +
                                   target.string() + ": Permission denied\n");
        EXPECT_EQ(readFile(target), "earlier results\n");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0444));
        EXPECT_EQ(leftovers(scratch.path), 0);
    }
    if (!root) return;
    const Outcome replaced =
        run(BATCH_PROGRAM, {"-o", target.string(), (scratch.path / "in.csv").string()});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(readFile(target), run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()}).out);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0444)) << "mode kept";
}

// A closed standard stream must not lend its number to a file the program
// opens: the note about a near-miss column would land in the output.
TEST(ClosedStandardStreams, OutputHoldsOnlyTheTable) {
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv",
              "Mean1,mean1,sd1,n1,mean2,sd2,n2,bound\nx,10,2,10,9,2,10,3\n");
    const std::string in = quoted((scratch.path / "in.csv").string());
    const std::string expected = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()}).out;
    for (const char* closing : {"2>&-", "<&- 2>&-", ">&- 2>&-"}) {
        SCOPED_TRACE(closing);
        const fs::path out = scratch.path / "out.csv";
        const std::string command =
            quoted(BATCH_PROGRAM) + " -o " + quoted(out.string()) + " " + in + " " + closing;
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
        EXPECT_EQ(readFile(out), expected);
    }
}

// Runs the program on a pipe it reads from, with -o, waits until its
// temporary exists and ends it with a signal.
TEST(Interruption, EverySignalThatEndsTheProgramRemovesTheTemporary) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXCPU, SIGXFSZ}) {
        SCOPED_TRACE(::strsignal(signal));
        ScratchFolder scratch;
        const fs::path out = scratch.path / "out.csv";
        writeFile(out, "earlier results\n");
        int input[2];
        ASSERT_EQ(::pipe(input), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const struct rlimit noCore { 0, 0 };
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::dup2(input[0], STDIN_FILENO);
            ::close(input[0]);
            ::close(input[1]);
            ::execl(BATCH_PROGRAM, BATCH_PROGRAM, "-q", "-o", out.c_str(), "-",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(input[0]);
        ASSERT_EQ(::write(input[1], table.data(), table.size()),
                  static_cast<ssize_t>(table.size()));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (leftovers(scratch.path) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(leftovers(scratch.path), 1) << "the temporary is being written";
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(input[1]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(leftovers(scratch.path), 0);
        EXPECT_EQ(readFile(out), "earlier results\n");
    }
}

}  // namespace
}  // namespace tarnwick::batch::testing
