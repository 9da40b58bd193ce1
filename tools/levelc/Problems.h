#pragma once
// What the level tool found wrong, pinned to a place in a level file so that an editor can jump
// there: "file:line:column: message".

#include <cstdint>
#include <string>
#include <vector>

struct SProblem {
    std::string path;    // level file, or the level folder for a rule about the whole set
    int32_t line = 0;    // 1-based; 0 when the problem has no line
    int32_t column = 0;  // 1-based; 0 when the problem has no column
    std::string message;
};

using ProblemList = std::vector<SProblem>;

// "path:line:column: message", leaving out the parts that are 0.
std::string formatProblem(const SProblem& problem);
