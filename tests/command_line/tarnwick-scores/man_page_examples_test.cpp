// The manual page's examples, run as printed: each "$ command" in its
// EXAMPLES section must print exactly the lines below it, and a file it
// writes with -o must equal the copy kept in docs/scores.

#include <gtest/gtest.h>

#include "man_page_examples.h"

namespace {

using namespace tarnwick::batch::testing;

TEST(ScoresManPage, ExamplesPrintWhatThePageShows) {
    expectExamplesAsPrinted({MAN_PAGE, DOCS_DIR, "tarnwick-scores", SCORES_PROGRAM, 7});
}

}  // namespace
