// A stand-in for the solver module whose plan seats no one: a solver that ran out of time
// with a poor plan. Tests load it (shell::setModuleDirectory(testsupport::poorSolverDir()))
// to see that a plan worse than the simple seating is not the one kept.
#include "seating/Mip.h"

extern "C" __attribute__((visibility("default"))) void orvaneSolveMip(const seating::mip::Model* model,
                                                                      seating::mip::Result* result)
{
    result->found = true;
    result->values.assign(model->columns.size(), 0.0);
    result->objective = 0;
    double bound = 0;
    for (const seating::mip::Column& column : model->columns)
        bound += column.objective > 0 ? column.objective * column.upper : 0;
    result->bound = bound;
    result->proven = false;
}
