// The manual page's examples, run as printed: each "$ command" in its
// EXAMPLES section must print exactly the lines below it, and a file it
// writes with -o must equal the copy kept in docs/plan. The commands run in a
// scratch folder that holds the example tables of docs/plan.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch_process.h"

namespace tarnwick::planner {
namespace {

using batch::testing::quoted;
using batch::testing::readFile;
using batch::testing::ScratchFolder;

struct Example {
    std::string command;
    std::string output;  // the lines printed below it, each ended by a line feed
};

// The text a terminal shows for a line of roff in no-fill mode.
std::string unescaped(std::string line) {
    const std::pair<std::string, std::string> escapes[] = {
        {"\\-", "-"}, {"\\(+-", "±"}, {"\\(aq", "'"}, {"\\e", "\\"}};
    for (const auto& [escape, text] : escapes) {
        for (std::size_t at = 0; (at = line.find(escape, at)) != std::string::npos;
             at += text.size())
            line.replace(at, escape.size(), text);
    }
    return line;
}

std::vector<Example> manPageExamples() {
    std::istringstream lines(readFile(MAN_PAGE));
    std::vector<Example> examples;
    bool inExamples = false;
    Example* current = nullptr;  // the command whose output the lines are
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SH", 0) == 0) inExamples = line == ".SH EXAMPLES";
        if (!inExamples) continue;
        if (line == ".nf" || line == ".fi") {
            current = nullptr;  // a block of text ends what a command printed
        } else if (line.rfind("$ ", 0) == 0) {
            examples.push_back({unescaped(line.substr(2)), ""});
            current = &examples.back();
        } else if (current != nullptr) {
            current->output += unescaped(line) + "\n";
        }
    }
    return examples;
}

// The file a command writes with -o, if any.
std::string outputFileOf(const std::string& command) {
    std::istringstream words(command);
    for (std::string word; words >> word;) {
        if (word == "-o" && words >> word) return word;
    }
    return {};
}

std::string runInFolder(const std::filesystem::path& folder, std::string command, int& status) {
    const std::string name = "tarnwick-plan";
    for (std::size_t at = 0; (at = command.find(name, at)) != std::string::npos;) {
        const std::string program = quoted(PLAN_PROGRAM);
        command.replace(at, name.size(), program);
        at += program.size();
    }
    const auto out = folder / ".out";
    const int raw = std::system(("cd " + quoted(folder.string()) + " && " + command + " >" +
                                 quoted(out.string()) + " 2>/dev/null")
                                    .c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::string printed = readFile(out);
    std::filesystem::remove(out);
    return printed;
}

TEST(ManPage, ExamplesPrintWhatThePageShows) {
    const std::vector<Example> examples = manPageExamples();
    ASSERT_GE(examples.size(), 8u) << "the page's examples were not found";
    ScratchFolder scratch;
    for (const auto& entry : std::filesystem::directory_iterator(DOCS_DIR))
        std::filesystem::copy_file(entry.path(), scratch.path / entry.path().filename());

    for (const Example& example : examples) {
        SCOPED_TRACE(example.command);
        const std::string written = outputFileOf(example.command);
        if (!written.empty()) std::filesystem::remove(scratch.path / written);
        int status = -1;
        EXPECT_EQ(runInFolder(scratch.path, example.command, status), example.output);
        EXPECT_TRUE(status == 0 || status == 1) << status;
        if (!written.empty()) {
            EXPECT_EQ(readFile(scratch.path / written),
                      readFile(std::filesystem::path(DOCS_DIR) / written))
                << "docs/plan/" << written << " is not what the example writes";
        }
    }
}

}  // namespace
}  // namespace tarnwick::planner
