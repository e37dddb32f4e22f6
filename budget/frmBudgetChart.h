// The budget's charts: spending by category against the plan and the payments due by month,
// printed or saved as PDF from here with the figures per category. The charts come from the chart module;
// without it the window says so in words.
//
//   showBudgetChart(plan, today, this);   // modal
#pragma once

#include "budget/BudgetChart.h"

#include <QDialog>

class QLabel;
class QPagedPaintDevice;
class QPushButton;

void showBudgetChart(const budget::BudgetPlan& plan, QDate today, QWidget* parent);

class frmBudgetChart : public QDialog {
    Q_OBJECT
public:
    frmBudgetChart(const budget::BudgetPlan& plan, QDate today, QWidget* parent = nullptr);

    // The budget report: the charts on the first page, the figures per category on the next.
    // Written to a PDF file at path (whole or not at all; never over the wedding file); throws
    // store::StoreError with the reason.
    void writePdf(const QString& path);

    void cmdPdf_Click();
    void cmdPrint_Click();

    QWidget* chart = nullptr;  // null when the module is missing
    QLabel* lblMissing;
    QPushButton* cmdPdf;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;

private:
    void drawReport(QPagedPaintDevice& device);
    std::vector<budget::CategoryFigures> figures_;
};
