#include "budget/frmBudgetChart.h"

#include "controls/CellFormat.h"
#include "controls/Dialogs.h"
#include "controls/GridWindow.h"
#include "shell/ErrorMessage.h"
#include "shell/Help.h"
#include "shell/Printing.h"
#include "store/OutputFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

using grids::named;

namespace {

QString moneyText(store::Currency amount)
{
    return controls::formatCell(QVariant::fromValue(amount), controls::CellFormat::Currency);
}

// A title line at the top of the page; returns its height.
int drawTitle(QPainter& painter, const QString& title)
{
    const QRect page = painter.viewport();
    painter.setFont(QFont(painter.font().family(), 14, QFont::Bold));
    const int height = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(page.left(), page.top(), page.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                     title);
    return height;
}

// The figures as a table: the category, then the amounts right-aligned in equal columns.
void drawFigures(QPainter& painter, const std::vector<budget::CategoryFigures>& rows, int top)
{
    const QRect page = painter.viewport();
    painter.setFont(QFont(painter.font().family(), 10));
    const int line = painter.fontMetrics().height() * 3 / 2;
    const QStringList columns = budget::figureColumns();
    const int nameWidth = page.width() / 3;
    const int amountWidth = (page.width() - nameWidth) / int(columns.size() - 1);
    const auto drawRow = [&](const QStringList& cells, int y, bool bold) {
        QFont font = painter.font();
        font.setBold(bold);
        painter.setFont(font);
        painter.drawText(QRect(page.left(), y, nameWidth, line), Qt::AlignLeft | Qt::AlignVCenter, cells[0]);
        for (int c = 1; c < cells.size(); ++c)
            painter.drawText(QRect(page.left() + nameWidth + (c - 1) * amountWidth, y, amountWidth, line),
                             Qt::AlignRight | Qt::AlignVCenter, cells[c]);
    };
    int y = top;
    drawRow(columns, y, true);
    y += line;
    const auto cellsOf = [](const budget::CategoryFigures& row) {
        return QStringList{row.name,
                           moneyText(row.planned),
                           moneyText(row.estimated),
                           moneyText(row.actual),
                           moneyText(row.paid),
                           moneyText(row.owing)};
    };
    for (const budget::CategoryFigures& row : rows) {
        drawRow(cellsOf(row), y, false);
        y += line;
    }
    painter.drawLine(page.left(), y, page.right(), y);
    drawRow(cellsOf(budget::totalOf(rows)), y, true);
}

}  // namespace

void showBudgetChart(const budget::BudgetPlan& plan, QDate today, QWidget* parent)
{
    frmBudgetChart window(plan, today, parent);
    controls::ShowModal(&window);
}

frmBudgetChart::frmBudgetChart(const budget::BudgetPlan& plan, QDate today, QWidget* parent)
    : QDialog(parent), figures_(budget::categoryFigures(plan))
{
    setObjectName(QStringLiteral("frmBudgetChart"));
    setWindowTitle(QStringLiteral("Budget Chart"));
    shell::setHelpContext(this, shell::HelpBudget);
    QString why;
    chart = budget::makeChartWidget(budget::chartData(plan, today), this, &why);
    lblMissing = named(new QLabel(this), "lblMissing");
    lblMissing->setWordWrap(true);
    lblMissing->setText(chart ? QString() : QStringLiteral("The charts cannot be shown: %1").arg(why));
    lblMissing->setVisible(!chart);
    cmdPdf = named(new QPushButton(QStringLiteral("Save as &PDF..."), this), "cmdPdf");
    cmdPrint = named(new QPushButton(QStringLiteral("P&rint..."), this), "cmdPrint");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    for (QPushButton* button : {cmdPdf, cmdPrint})
        button->setEnabled(chart != nullptr);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPdf);
    buttons->addWidget(cmdPrint);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    if (chart)
        layout->addWidget(chart, 1);
    layout->addWidget(lblMissing);
    layout->addLayout(buttons);
    resize(900, 820);
    connect(cmdPdf, &QPushButton::clicked, this, &frmBudgetChart::cmdPdf_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmBudgetChart::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmBudgetChart::writePdf(const QString& path)
{
    store::output::PendingFile out(path);
    {
        QPdfWriter pdf(out.temporaryPath());
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 15, 15, 15)));
        pdf.setTitle(QStringLiteral("Budget"));
        drawReport(pdf);
    }
    out.commit();
}

void frmBudgetChart::cmdPdf_Click()
{
    const QString path = controls::GetSaveFileName(
        this, QStringLiteral("Save as PDF"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/budget.pdf"),
        QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    try {
        writePdf(path);
    } catch (const store::StoreError& failure) {
        shell::showError(failure, this);
    }
}

void frmBudgetChart::cmdPrint_Click()
{
    QString why;
    const auto printer = shell::newPrinter(shell::PrinterUse::Screen, &why);
    if (!printer) {
        controls::MsgBox(why, controls::mb::Critical, QStringLiteral("Print Budget"), this);
        return;
    }
    printer->device().setPageOrientation(QPageLayout::Landscape);
    if (controls::ChoosePrinter(this, QStringLiteral("Print Budget"), *printer))
        drawReport(printer->device());
}

void frmBudgetChart::drawReport(QPagedPaintDevice& device)
{
    QPainter painter(&device);
    const QRect page = painter.viewport();
    const int titleHeight = drawTitle(painter, QStringLiteral("Budget"));
    const QSize size = chart->size();
    const double scale =
        std::min(double(page.width()) / size.width(), double(page.height() - titleHeight) / size.height());
    painter.save();
    painter.translate(page.left(), page.top() + titleHeight);
    painter.scale(scale, scale);
    chart->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
    device.newPage();
    drawFigures(painter, figures_, page.top() + drawTitle(painter, QStringLiteral("Budget by category")));
}
