#include "row_plan.h"

#include "plan_words.h"

namespace tarnwick::planner {

RowPlan planRow(const RowTexts& texts, Digits digits) {
    RowPlan row;
    try {
        const Answer found = answer(readRequest(texts), digits);
        row.fields = answerFields(found);
        row.ratioFields = ratioAnswerFields(found);
        row.p = oneSidedPField(found);
        row.sentence = answerSentence(found);
        row.answered = true;
    } catch (const NumberedError<int>& error) {  // the planner's or the test settings' refusal
        row.message = error.description();
        row.sentence = "not answered: " + row.message;
    }
    return row;
}

}  // namespace tarnwick::planner
