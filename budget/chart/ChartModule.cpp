// The chart module: the budget's two charts with Qt Charts, from the plain figures the
// program hands over. A module of its own, loaded when a chart is first shown, so that the
// program does not load the chart libraries at every start.
#include "budget/BudgetChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

// Bars per label: across the page (labels below) or, for long names, along it (labels at the left).
QChartView* barChart(const QString& title, const QStringList& labels, const std::vector<QBarSet*>& sets,
                     const QString& currency, bool horizontal, QWidget* parent)
{
    QAbstractBarSeries* series = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries*>(new QBarSeries);
    double most = 0;
    for (QBarSet* set : sets) {
        series->append(set);
        for (int i = 0; i < set->count(); ++i)
            most = std::max(most, set->at(i));
    }
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(series);
    auto* names = new QBarCategoryAxis;
    names->append(labels);
    chart->addAxis(names, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(names);
    auto* amounts = new QValueAxis;
    amounts->setRange(0, most > 0 ? most * 1.05 : 1);
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(currency + QStringLiteral("%.0f"));
    chart->addAxis(amounts, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(amounts);
    chart->legend()->setVisible(sets.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(140);
    return view;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) QWidget* orvaneBudgetChart(
    const budget::BudgetChartData* data, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QStringLiteral("chartPanel"));
    QStringList names;
    auto* planned = new QBarSet(QStringLiteral("Planned"));
    auto* expected = new QBarSet(QStringLiteral("Expected cost"));
    auto* paid = new QBarSet(QStringLiteral("Paid"));
    // Drawn from the bottom up: the list is walked backwards so that the first category is on top.
    for (auto c = data->categories.rbegin(); c != data->categories.rend(); ++c) {
        names << c->name;
        *planned << c->planned;
        *expected << c->expected;
        *paid << c->paid;
    }
    QStringList months;
    auto* due = new QBarSet(QStringLiteral("Still to pay"));
    for (const budget::ChartMonth& m : data->months) {
        months << m.label;
        *due << m.due;
    }
    auto* layout = new QVBoxLayout(widget);
    QChartView* spending = barChart(QStringLiteral("Spending by category against the plan"), names,
                                    {planned, expected, paid}, data->currencySymbol, true, widget);
    spending->setObjectName(QStringLiteral("chtSpending"));
    // Small screens get the smallest sizes; the window's own size gives each name its line.
    spending->setMinimumHeight(260);
    QChartView* payments =
        barChart(QStringLiteral("Payments due by month"), months, {due}, data->currencySymbol, false, widget);
    payments->setObjectName(QStringLiteral("chtPayments"));
    layout->addWidget(spending, 5);
    layout->addWidget(payments, 2);
    return widget;
}
