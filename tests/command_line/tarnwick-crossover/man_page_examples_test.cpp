// The manual page's examples, run as printed: each "$ command" in its
// EXAMPLES section must print exactly the lines below it, and a file it
// writes with -o must equal the copy kept in docs/crossover. The commands run in a
// scratch folder that holds the example tables of docs/crossover.

#include <gtest/gtest.h>

#include <filesystem>

#include "batch_process.h"
#include "man_page_examples.h"

namespace tarnwick::crossover_program {
namespace {

using namespace batch::testing;

TEST(CrossoverManPage, ExamplesPrintWhatThePageShows) {
    const std::vector<Example> examples = manPageExamples(MAN_PAGE);
    ASSERT_GE(examples.size(), 4u) << "the page's examples were not found";
    ScratchFolder scratch;
    for (const auto& entry : std::filesystem::directory_iterator(DOCS_DIR))
        std::filesystem::copy_file(entry.path(), scratch.path / entry.path().filename());

    for (const Example& example : examples) {
        SCOPED_TRACE(example.command);
        const std::string written = outputFileOf(example.command);
        if (!written.empty()) std::filesystem::remove(scratch.path / written);
        int status = -1;
        EXPECT_EQ(runInFolder(scratch.path, example.command, "tarnwick-crossover",
                              CROSSOVER_PROGRAM, status),
                  example.output);
        EXPECT_TRUE(status == 0 || status == 1) << status;
        if (!written.empty()) {
            EXPECT_EQ(readFile(scratch.path / written),
                      readFile(std::filesystem::path(DOCS_DIR) / written))
                << "docs/crossover/" << written << " is not what the example writes";
        }
    }
}

}  // namespace
}  // namespace tarnwick::crossover_program
