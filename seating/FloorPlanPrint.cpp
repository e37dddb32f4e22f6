#include "seating/FloorPlanPrint.h"

#include "controls/Dialogs.h"
#include "seating/FloorPlanScene.h"
#include "shell/Printing.h"
#include "store/OutputFile.h"

#include <QDate>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>

#include <algorithm>

namespace seating {

namespace {

QFont pointFont(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString tableLabel(const FloorState& state, TableKey key)
{
    for (const FloorState::Table& table : state.tables)
        if (table.key == key)
            return table.name.isEmpty() ? QStringLiteral("Table %1").arg(table.number)
                                        : QStringLiteral("%1 (No. %2)").arg(table.name).arg(table.number);
    return {};
}

void setUpPdf(QPdfWriter& pdf, QPageLayout::Orientation orientation)
{
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageOrientation(orientation);
    pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("Orvane"));
}

}  // namespace

void paintFloorPlan(QPagedPaintDevice& device, FloorPlanScene& scene)
{
    QPainter painter(&device);
    const QRectF page(0, 0, device.width(), device.height());
    scene.clearSelection();
    painter.setFont(pointFont(16, true));
    const qreal titleHeight = painter.fontMetrics().height() * 1.6;
    painter.drawText(QRectF(page.left(), page.top(), page.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Reception Floor Plan"));
    int seats = 0, taken = 0;
    for (const FloorState::Table& table : scene.state().tables) {
        seats += table.seats;
        taken += table.assigned;
    }
    painter.setFont(pointFont(9));
    painter.drawText(QRectF(page.left(), page.top(), page.width(), titleHeight),
                     Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("%1 tables, %2 of %3 seats taken · %4")
                         .arg(scene.state().tables.size())
                         .arg(taken)
                         .arg(seats)
                         .arg(QLocale().toString(QDate::currentDate(), QLocale::LongFormat)));
    const QRectF target = page.adjusted(0, titleHeight, 0, 0);
    const QRectF source = scene.itemsBoundingRect().adjusted(-20, -20, 20, 20);
    scene.render(&painter, target, source, Qt::KeepAspectRatio);
}

void paintEscortCards(QPagedPaintDevice& device, const FloorState& state)
{
    std::vector<const FloorState::Party*> parties;
    for (const FloorState::Party& party : state.seated)
        parties.push_back(&party);
    std::sort(parties.begin(), parties.end(), [](auto* a, auto* b) {
        const int bySort = a->sortName.compare(b->sortName, Qt::CaseInsensitive);
        return bySort != 0 ? bySort < 0 : a->name.compare(b->name, Qt::CaseInsensitive) < 0;
    });
    QPainter painter(&device);
    const QRectF page(0, 0, device.width(), device.height());
    painter.setFont(pointFont(20, true));
    const qreal line = painter.fontMetrics().height() * 1.35;
    qreal y = page.top();
    auto heading = [&] {
        painter.setFont(pointFont(24, true));
        painter.drawText(QRectF(page.left(), y, page.width(), line * 1.4),
                         Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Please find your table"));
        y += line * 1.8;
    };
    heading();
    QChar letter;
    for (const FloorState::Party* party : parties) {
        const QChar first =
            party->sortName.trimmed().isEmpty() ? QChar() : party->sortName.trimmed().at(0).toUpper();
        const bool newLetter = first != letter;
        if (y + line * (newLetter ? 2 : 1) > page.bottom()) {
            device.newPage();
            y = page.top();
            heading();
        }
        if (newLetter) {
            letter = first;
            painter.setFont(pointFont(14, true));
            painter.setPen(QColor(0x8d, 0x7b, 0x68));
            painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignBottom,
                             QString(letter));
            y += line;
            painter.setPen(Qt::black);
        }
        painter.setFont(pointFont(20));
        painter.drawText(
            QRectF(page.left(), y, page.width() * 0.62, line), Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(party->name, Qt::ElideRight, int(page.width() * 0.6)));
        painter.setFont(pointFont(20, true));
        painter.drawText(QRectF(page.left() + page.width() * 0.62, y, page.width() * 0.38, line),
                         Qt::AlignRight | Qt::AlignVCenter, tableLabel(state, party->table));
        y += line;
    }
}

namespace {

// Paints into a PDF written under a temporary name and renamed over path when complete
// (never over the wedding file or a backup). Returns false, with the reason in *why, when
// the file could not be written.
template <typename Paint>
bool writePdfFile(const QString& path, QPageLayout::Orientation orientation, Paint paint, QString* why)
{
    try {
        store::output::PendingFile pending(path);
        {
            QPdfWriter pdf(pending.temporaryPath());
            setUpPdf(pdf, orientation);
            paint(pdf);
        }
        if (QFileInfo(pending.temporaryPath()).size() == 0)
            return false;
        pending.commit();
        return true;
    } catch (const store::StoreError& e) {
        if (why)
            *why = e.description();
        return false;
    }
}

}  // namespace

bool writeFloorPlanPdf(FloorPlanScene& scene, const QString& path, QString* why)
{
    return writePdfFile(
        path, QPageLayout::Landscape, [&](QPdfWriter& pdf) { paintFloorPlan(pdf, scene); }, why);
}

bool writeEscortCardsPdf(const FloorState& state, const QString& path, QString* why)
{
    return writePdfFile(
        path, QPageLayout::Portrait, [&](QPdfWriter& pdf) { paintEscortCards(pdf, state); }, why);
}

void printFloorPlan(FloorPlanScene& scene, QWidget* parent)
{
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Print"),
                    QStringLiteral("What would you like to print?"), QMessageBox::Cancel, parent);
    ask.setObjectName(QStringLiteral("frmPrintPlan"));
    QPushButton* plan = ask.addButton(QStringLiteral("Floor Plan"), QMessageBox::AcceptRole);
    QPushButton* cards = ask.addButton(QStringLiteral("Escort Cards"), QMessageBox::AcceptRole);
    QPushButton* planPdf = ask.addButton(QStringLiteral("Floor Plan PDF..."), QMessageBox::AcceptRole);
    QPushButton* cardsPdf = ask.addButton(QStringLiteral("Escort Cards PDF..."), QMessageBox::AcceptRole);
    controls::ShowModal(&ask);
    QAbstractButton* chosen = ask.clickedButton();
    if (chosen == planPdf || chosen == cardsPdf) {
        const QString path = controls::GetSaveFileName(
            parent, QStringLiteral("Save as PDF"),
            chosen == planPdf ? QStringLiteral("floor-plan.pdf") : QStringLiteral("escort-cards.pdf"),
            QStringLiteral("PDF files (*.pdf)"));
        if (path.isEmpty())
            return;
        QString why;
        const bool ok = chosen == planPdf ? writeFloorPlanPdf(scene, path, &why)
                                          : writeEscortCardsPdf(scene.state(), path, &why);
        if (!ok)
            controls::MsgBox(
                why.isEmpty() ? QStringLiteral("The PDF file could not be written:\n") + path : why,
                controls::mb::OKOnly, QStringLiteral("Print"), parent);
        return;
    }
    if (chosen != plan && chosen != cards)
        return;
    QString why;
    const auto printer = shell::newPrinter(shell::PrinterUse::HighResolution, &why);
    if (!printer) {
        controls::MsgBox(why, controls::mb::Critical, QStringLiteral("Print"), parent);
        return;
    }
    printer->device().setPageOrientation(chosen == plan ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!controls::ChoosePrinter(parent, QStringLiteral("Print"), *printer))
        return;
    if (chosen == plan)
        paintFloorPlan(printer->device(), scene);
    else
        paintEscortCards(printer->device(), scene.state());
}

}  // namespace seating
