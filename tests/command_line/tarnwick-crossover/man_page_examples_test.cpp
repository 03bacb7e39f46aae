// The manual page's examples, run as printed: each "$ command" in its
// EXAMPLES section must print exactly the lines below it, and a file it
// writes with -o must equal the copy kept in docs/crossover.

#include <gtest/gtest.h>

#include "man_page_examples.h"

namespace {

using namespace tarnwick::batch::testing;

TEST(CrossoverManPage, ExamplesPrintWhatThePageShows) {
    expectExamplesAsPrinted({MAN_PAGE, DOCS_DIR, "tarnwick-crossover", CROSSOVER_PROGRAM, 4});
}

}  // namespace
