#include "Problems.h"
#include "StringWarning.h"

std::string formatProblem(const SProblem& problem) {
    std::string text = problem.path;
    LEVELC_FALSE_RESTRICT_OFF
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
        if (problem.column > 0) text += ":" + std::to_string(problem.column);
    }
    LEVELC_FALSE_RESTRICT_ON
    return text + ": " + problem.message;
}
