// Functions the program keeps in modules of its own, loaded the first time they are needed,
// so that starting the program does not load (and link) the large libraries behind them:
// the seating solver (orvane_solver), the workbook writer (orvane_xlsx), the calendar writer
// (orvane_calendar), the budget charts (orvane_charts) and the sound output (orvane_audio).
//
//     using Solve = void (*)(const Model*, Result*);
//     QString why;
//     if (auto solve = shell::moduleFunction<Solve>(QStringLiteral("orvane_solver"), "orvaneSolveMip", &why))
//         solve(&model, &result);
//     else
//         tell the user why;
#pragma once

#include <QString>

namespace shell {

// The function of a module (its path as shell::modulePath gives it), or nullptr with the
// reason in words in *why. A module is loaded once and stays loaded.
void* moduleSymbol(const QString& module, const char* function, QString* why = nullptr);

template <typename Function>
Function moduleFunction(const QString& module, const char* function, QString* why = nullptr)
{
    return reinterpret_cast<Function>(moduleSymbol(module, function, why));
}

}  // namespace shell
