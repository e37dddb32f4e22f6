// The solver module: solves a seating::mip::Model with CBC (COIN-OR branch and cut). A
// module of its own, loaded when a plan is asked for, so that the program does not load
// CBC and its libraries at every start.
#include "seating/Mip.h"

#include <coin/Cbc_C_Interface.h>

#include <cstdio>
#include <memory>

namespace {

struct ModelDeleter {
    void operator()(Cbc_Model* m) const { Cbc_deleteModel(m); }
};

// Named columns and rows make the model readable when CBC prints it.
const char* name(char kind, size_t index, char (&buffer)[24])
{
    std::snprintf(buffer, sizeof buffer, "%c%zu", kind, index);
    return buffer;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void orvaneSolveMip(const seating::mip::Model* model,
                                                                      seating::mip::Result* result)
{
    std::unique_ptr<Cbc_Model, ModelDeleter> cbc(Cbc_newModel());
    char buffer[24];
    Cbc_setObjSense(cbc.get(), model->maximise ? -1 : 1);
    for (size_t c = 0; c < model->columns.size(); ++c) {
        const seating::mip::Column& col = model->columns[c];
        Cbc_addCol(cbc.get(), name('c', c, buffer), col.lower, col.upper, col.objective, col.integer ? 1 : 0,
                   0, nullptr, nullptr);
    }
    for (size_t r = 0; r < model->rows.size(); ++r) {
        const seating::mip::Row& row = model->rows[r];
        Cbc_addRow(cbc.get(), name('r', r, buffer), int(row.columns.size()), row.columns.data(),
                   row.coefficients.data(), row.sense, row.rhs);
    }
    Cbc_setLogLevel(cbc.get(), 0);
    Cbc_setMaximumSeconds(cbc.get(), model->seconds);
    Cbc_setParameter(cbc.get(), "threads", "1");
    Cbc_setParameter(cbc.get(), "timeMode", "elapsed");  // the limit is the user's wait
    Cbc_solve(cbc.get());
    const double* best = Cbc_bestSolution(cbc.get());
    result->found = best != nullptr;
    if (best) {
        result->values.assign(best, best + model->columns.size());
        result->objective = Cbc_getObjValue(cbc.get());
        result->bound = Cbc_getBestPossibleObjValue(cbc.get());
        result->proven = Cbc_isProvenOptimal(cbc.get()) != 0;
    }
}
