// The manual page's examples, run as printed: each "$ command" in its
// EXAMPLES section must print exactly the lines below it, and a file it
// writes with -o must equal the copy kept in docs/plan.

#include <gtest/gtest.h>

#include "man_page_examples.h"

namespace {

using namespace tarnwick::batch::testing;

TEST(ManPage, ExamplesPrintWhatThePageShows) {
    expectExamplesAsPrinted({MAN_PAGE, DOCS_DIR, "tarnwick-plan", PLAN_PROGRAM, 8});
}

}  // namespace
