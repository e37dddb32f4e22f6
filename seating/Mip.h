// A mixed integer programme as plain data, and its solution: what the seating plan hands
// to the solver module (orvane_solver, over CBC) and gets back. Plain standard types only,
// so that the module needs nothing of the program.
#pragma once

#include <string>
#include <vector>

namespace seating::mip {

struct Column {
    double lower = 0;
    double upper = 1;
    double objective = 0;
    bool integer = true;
};

struct Row {
    std::vector<int> columns;
    std::vector<double> coefficients;
    char sense = 'L';  // 'L' <=, 'G' >=, 'E' =
    double rhs = 0;
};

struct Model {
    bool maximise = true;
    std::vector<Column> columns;
    std::vector<Row> rows;
    double seconds = 10;  // elapsed time the solver may take
    // Every solution's objective, at its best values of the continuous columns, is a multiple
    // of this (0: not known). A plan then is proven best once no solution can be a step better.
    double objectiveStep = 0;
};

struct Result {
    bool found = false;  // a solution that keeps every row
    std::vector<double> values;
    double objective = 0;
    double bound = 0;  // the best objective still possible
    bool proven = false;
    std::string failure;  // why there is no solution, when the solver could not run
};

// The entry point of the solver module.
using SolveFunction = void (*)(const Model*, Result*);
inline constexpr const char* SolveFunctionName = "orvaneSolveMip";
inline constexpr const char* ModuleName = "orvane_solver";

}  // namespace seating::mip
