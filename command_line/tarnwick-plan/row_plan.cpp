#include "row_plan.h"

#include "plan_answer.h"

namespace tarnwick::planner {

RowPlan planRow(const RowTexts& texts, Digits digits) {
    RowPlan row;
    try {
        const Request request = readRequest(texts);
        const Answer found = answer(request);
        row.fields = answerFields(request, found, digits);
        row.sentence = answerSentence(request, found, digits);
        row.answered = true;
    } catch (const NumberedError<int>& error) {  // the planner's or the test settings' refusal
        row.message = error.description();
        row.sentence = "not answered: " + row.message;
    }
    return row;
}

}  // namespace tarnwick::planner
