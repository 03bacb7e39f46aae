#include "plan_answer.h"

namespace tarnwick::planner {

Answer answer(const Request& request) {
    Answer result;
    switch (request.question) {
        case Question::size: {
            const plan::SizeAnswer found =
                plan::smallestSize(request.study, request.targetPower, request.ratio);
            result.sizes = found.sizes;
            result.power = found.power;
            result.lower = request.study.lower;
            result.upper = request.study.upper;
            break;
        }
        case Question::power:
            result.sizes = request.sizes;
            result.power = plan::power(request.study, request.sizes);
            result.lower = request.study.lower;
            result.upper = request.study.upper;
            break;
        case Question::bound: {
            const plan::BoundAnswer found =
                plan::smallestBound(request.study, request.sizes, request.targetPower);
            result.sizes = request.sizes;
            result.power = found.power;
            result.lower = -found.bound;
            result.upper = found.bound;
            break;
        }
    }
    if (request.study.design == plan::Design::matched) result.sizes.n2 = 0;
    return result;
}

long totalSize(const Answer& answer) { return answer.sizes.n1 + answer.sizes.n2; }

}  // namespace tarnwick::planner
