// The solver module: solves a seating::mip::Model with CBC (COIN-OR branch and cut). A
// module of its own, loaded when a plan is asked for, so that the program does not load
// CBC and its libraries at every start. The model is loaded in one call, and the solve runs
// in a child process, so that the time limit holds whatever CBC is doing when it passes.
#include "seating/Mip.h"

#include <coin/Cbc_C_Interface.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

struct ModelDeleter {
    void operator()(Cbc_Model* m) const { Cbc_deleteModel(m); }
};

// The constraint matrix in compressed sparse columns, the form CBC loads in one call:
// adding columns and rows one at a time copies the growing matrix again and again, which
// takes tens of seconds for a reception of a thousand parties.
struct SparseColumns {
    std::vector<CoinBigIndex> start;
    std::vector<int> index;
    std::vector<double> value;
};

SparseColumns byColumn(const seating::mip::Model& model)
{
    const size_t columns = model.columns.size();
    SparseColumns matrix;
    matrix.start.assign(columns + 1, 0);
    for (const seating::mip::Row& row : model.rows)
        for (int c : row.columns)
            ++matrix.start[size_t(c) + 1];
    for (size_t c = 0; c < columns; ++c)
        matrix.start[c + 1] += matrix.start[c];
    matrix.index.resize(size_t(matrix.start[columns]));
    matrix.value.resize(size_t(matrix.start[columns]));
    std::vector<CoinBigIndex> next(matrix.start.begin(), matrix.start.end() - 1);
    for (size_t r = 0; r < model.rows.size(); ++r) {
        const seating::mip::Row& row = model.rows[r];
        for (size_t k = 0; k < row.columns.size(); ++k) {
            const CoinBigIndex at = next[size_t(row.columns[k])]++;
            matrix.index[size_t(at)] = int(r);
            matrix.value[size_t(at)] = row.coefficients[k];
        }
    }
    return matrix;
}

void load(Cbc_Model* cbc, const seating::mip::Model& model)
{
    const SparseColumns matrix = byColumn(model);
    std::vector<double> lower, upper, objective;
    for (const seating::mip::Column& col : model.columns) {
        lower.push_back(col.lower);
        upper.push_back(col.upper);
        objective.push_back(col.objective);
    }
    std::vector<double> rowLower, rowUpper;
    for (const seating::mip::Row& row : model.rows) {
        rowLower.push_back(row.sense == 'L' ? -DBL_MAX : row.rhs);
        rowUpper.push_back(row.sense == 'G' ? DBL_MAX : row.rhs);
    }
    Cbc_loadProblem(cbc, int(model.columns.size()), int(model.rows.size()), matrix.start.data(),
                    matrix.index.data(), matrix.value.data(), lower.data(), upper.data(), objective.data(),
                    rowLower.data(), rowUpper.data());
    for (size_t c = 0; c < model.columns.size(); ++c)
        if (model.columns[c].integer)
            Cbc_setInteger(cbc, int(c));
    Cbc_setObjSense(cbc, model.maximise ? -1 : 1);
}

void solveHere(const seating::mip::Model& model, seating::mip::Result& result)
{
    std::unique_ptr<Cbc_Model, ModelDeleter> cbc(Cbc_newModel());
    load(cbc.get(), model);
    Cbc_setLogLevel(cbc.get(), 0);
    Cbc_setMaximumSeconds(cbc.get(), model.seconds);
    // Solutions a step apart: a gap short of a step leaves no better solution to find.
    if (model.objectiveStep > 0)
        Cbc_setAllowableGap(cbc.get(), model.objectiveStep * 0.999);
    Cbc_setParameter(cbc.get(), "threads", "1");
    Cbc_setParameter(cbc.get(), "timeMode", "elapsed");  // the limit is the user's wait
    // A seed of our own, so that the same wedding gets the same search each time the time limit
    // allows it to end alike.
    // Left to its default, CBC 2.10 takes another course in its heuristics that on weddings
    // of a few hundred people finds the best plan several times later (1.2 s against 0.2 s).
    Cbc_setParameter(cbc.get(), "randomCbcSeed", "1");
    Cbc_solve(cbc.get());
    const double* best = Cbc_bestSolution(cbc.get());
    result.found = best != nullptr;
    if (best) {
        result.values.assign(best, best + model.columns.size());
        result.objective = Cbc_getObjValue(cbc.get());
        result.bound = Cbc_getBestPossibleObjValue(cbc.get());
        result.proven = Cbc_isProvenOptimal(cbc.get()) != 0;
    }
}

// ---- the solve in a child process ----------------------------------------------------------
//
// CBC keeps its time limit only between the steps of its search: its preprocessing and some
// of its heuristics run to their end, which on a reception of a thousand parties takes many
// times the limit. So CBC runs in a child process that sends its result back through a pipe,
// and a child still running shortly after the limit is stopped: no plan from the solver then.

constexpr double GraceSeconds = 0.5;  // for CBC to stop by itself and send its result

struct Header {
    int found = 0, proven = 0;
    double objective = 0, bound = 0;
    size_t values = 0;
};

bool writeAll(int fd, const void* data, size_t size)
{
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= size_t(n);
    }
    return true;
}

[[noreturn]] void runChild(const seating::mip::Model& model, int fd)
{
    // CBC prints a few lines of its own even when told to be quiet; they are not the program's.
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0)
        ::dup2(quiet, STDOUT_FILENO);
    seating::mip::Result result;
    solveHere(model, result);
    Header header{result.found, result.proven, result.objective, result.bound, result.values.size()};
    const bool sent = writeAll(fd, &header, sizeof header) &&
                      writeAll(fd, result.values.data(), result.values.size() * sizeof(double));
    ::_exit(sent ? 0 : 1);  // no exit handlers of the parent's libraries in the child
}

double secondsSince(const timespec& start)
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

// Everything the child sends, or less when the deadline passes first.
std::vector<char> readUntil(int fd, double seconds)
{
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    std::vector<char> bytes;
    char buffer[65536];
    for (;;) {
        const double left = seconds - secondsSince(start);
        if (left <= 0)
            return bytes;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(std::min(left, 60.0) * 1000) + 1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;  // the deadline is checked again
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;  // the child is done (or gone)
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

// The result the child sent, when it is whole.
bool readResult(const std::vector<char>& bytes, size_t columns, seating::mip::Result& result)
{
    Header header;
    if (bytes.size() < sizeof header)
        return false;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (header.values != (header.found ? columns : 0) ||
        bytes.size() != sizeof header + header.values * sizeof(double))
        return false;
    result.found = header.found != 0;
    result.proven = header.proven != 0;
    result.objective = header.objective;
    result.bound = header.bound;
    result.values.resize(header.values);
    std::memcpy(result.values.data(), bytes.data() + sizeof header, header.values * sizeof(double));
    return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void orvaneSolveMip(const seating::mip::Model* model,
                                                                      seating::mip::Result* result)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        solveHere(*model, *result);  // without a pipe, in this process and its time
        return;
    }
    std::fflush(nullptr);  // or the child could write what the program has buffered a second time
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        solveHere(*model, *result);
        return;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(*model, fds[1]);
    }
    ::close(fds[1]);
    const std::vector<char> bytes = readUntil(fds[0], model->seconds + GraceSeconds);
    ::close(fds[0]);
    ::kill(child, SIGKILL);  // done already, or stopped at the deadline
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (!readResult(bytes, model->columns.size(), *result))
        *result = seating::mip::Result{};  // stopped before it sent a plan: none found in time
}
