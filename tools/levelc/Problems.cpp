#include "Problems.h"

std::string formatProblem(const SProblem& problem) {
    std::string text = problem.path;
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
        if (problem.column > 0) text += ":" + std::to_string(problem.column);
    }
    return text + ": " + problem.message;
}
