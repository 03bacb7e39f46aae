#pragma once
// A manual page's examples, to be run as printed: each "$ command" in its
// EXAMPLES section and the lines below it, which the command must print.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch_process.h"

namespace tarnwick::batch::testing {

struct Example {
    std::string command;
    std::string output;  // the lines printed below it, each ended by a line feed
};

// The text a terminal shows for a line of roff in no-fill mode.
inline std::string unescaped(std::string line) {
    const std::pair<std::string, std::string> escapes[] = {
        {"\\-", "-"}, {"\\(+-", "±"}, {"\\(aq", "'"}, {"\\e", "\\"}};
    for (const auto& [escape, text] : escapes) {
        for (std::size_t at = 0; (at = line.find(escape, at)) != std::string::npos;
             at += text.size())
            line.replace(at, escape.size(), text);
    }
    return line;
}

inline std::vector<Example> manPageExamples(const std::filesystem::path& page) {
    std::istringstream lines(readFile(page));
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
inline std::string outputFileOf(const std::string& command) {
    std::istringstream words(command);
    for (std::string word; words >> word;) {
        if (word == "-o" && words >> word) return word;
    }
    return {};
}

// Runs `command` in `folder` through the shell, with each `name` in it
// replaced by the built `program`, and returns what it printed.
inline std::string runInFolder(const std::filesystem::path& folder, std::string command,
                               const std::string& name, const std::string& program, int& status) {
    for (std::size_t at = 0; (at = command.find(name, at)) != std::string::npos;) {
        const std::string replacement = quoted(program);
        command.replace(at, name.size(), replacement);
        at += replacement.size();
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

struct ManPage {
    std::filesystem::path page;
    std::filesystem::path docs;  // the example tables, and the files the examples write
    std::string name;            // the program as the page names it
    std::string program;         // the built program
    std::size_t fewestExamples;  // fewer found means the page was not read
};

// Runs each example of the page in a scratch folder that holds the files of
// `docs`: it must print exactly the lines below it and end with status 0 or
// 1, and a file it writes with -o must equal the copy kept in `docs`.
inline void expectExamplesAsPrinted(const ManPage& page) {
    const std::vector<Example> examples = manPageExamples(page.page);
    ASSERT_GE(examples.size(), page.fewestExamples) << "the page's examples were not found";
    ScratchFolder scratch;
    for (const auto& entry : std::filesystem::directory_iterator(page.docs))
        std::filesystem::copy_file(entry.path(), scratch.path / entry.path().filename());

    for (const Example& example : examples) {
        SCOPED_TRACE(example.command);
        const std::string written = outputFileOf(example.command);
        if (!written.empty()) std::filesystem::remove(scratch.path / written);
        int status = -1;
        EXPECT_EQ(runInFolder(scratch.path, example.command, page.name, page.program, status),
                  example.output);
        EXPECT_TRUE(status == 0 || status == 1) << status;
        if (!written.empty()) {
            EXPECT_EQ(readFile(scratch.path / written), readFile(page.docs / written))
                << page.docs.string() << "/" << written << " is not what the example writes";
        }
    }
}

}  // namespace tarnwick::batch::testing
