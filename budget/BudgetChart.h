// The budget as pictures: spending by category against the plan, and the payments still to
// make by the month they fall due. The figures are worked out here, exactly, and handed as plain
// data to the chart module (orvane_charts, Qt Charts), which the program loads the first time a
// chart is shown, so that starting the program does not load the chart libraries.
//
//   budget::BudgetChartData data = budget::chartData(plan, today);
//   QWidget* chart = budget::makeChartWidget(data, parent, &why);   // null: why says what is missing
#pragma once

#include "budget/BudgetRules.h"

#include <QString>

#include <vector>

class QWidget;

namespace budget {

struct ChartCategory {
    QString name;
    double planned = 0, expected = 0, paid = 0;  // for drawing only
};

struct ChartMonth {
    QString label;  // "Overdue", or the month ("Aug 2026")
    double due = 0;
};

struct BudgetChartData {
    std::vector<ChartCategory> categories;  // those with anything planned or expected
    std::vector<ChartMonth> months;         // overdue first, then each month with a payment due
    QString currencySymbol;
};

BudgetChartData chartData(const BudgetPlan& plan, QDate today);

// The module's function and name.
inline constexpr const char* ChartModuleName = "orvane_charts";
using ChartFunction = QWidget* (*)(const BudgetChartData* data, QWidget* parent);

// The two charts in one widget, from the module; null with the reason in *why when the module
// cannot be loaded.
QWidget* makeChartWidget(const BudgetChartData& data, QWidget* parent, QString* why);

}  // namespace budget
