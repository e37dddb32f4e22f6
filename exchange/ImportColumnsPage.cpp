// Step 2 of the guest import: which guest field each column fills.
#include "exchange/frmImportGuests.h"

#include "exchange/MappingMemory.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace exchange {

namespace {

// Up to three examples of what the column holds.
QString examples(const CsvTable& table, int column)
{
    QStringList seen;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QString value = shownText(table.rows.cell(r, column).simplified(), 40);
        if (!value.isEmpty() && !seen.contains(value))
            seen << value;
        if (seen.size() == 3)
            break;
    }
    return seen.join(QStringLiteral("  |  "));
}

QComboBox* fieldBox(int column)
{
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("cboField(%1)").arg(column));
    box->addItem(QStringLiteral("not imported"), int(GuestField::NotImported));
    for (const GuestFieldInfo& info : guestFields())
        box->addItem(info.caption, int(info.field));
    return box;
}

}  // namespace

ImportColumnsPage::ImportColumnsPage(frmImportGuests* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 2 of 4: columns"));
    setSubTitle(
        QStringLiteral("Choose the guest field each column fills. A column with the whole name "
                       "(\"Mr. and Mrs. Liam Okafor\") is split into title, first and last name."));
    grdColumns = new QTableWidget(0, 3);
    grdColumns->setObjectName(QStringLiteral("grdColumns"));
    grdColumns->setHorizontalHeaderLabels(
        {QStringLiteral("Column"), QStringLiteral("Examples"), QStringLiteral("Guest field")});
    grdColumns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdColumns->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grdColumns->verticalHeader()->hide();
    lblNotImported = new QLabel;
    lblNotImported->setObjectName(QStringLiteral("lblNotImported"));
    lblNotImported->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdColumns);
    layout->addWidget(lblNotImported);
}

void ImportColumnsPage::initializePage()
{
    const CsvTable& t = wizard_->table;
    wizard_->mapping = guessMapping(t.headers);
    remembered_ = false;
    if (t.headerRow) {
        try {
            if (auto last = rememberedMapping(shell::database(), t.headers)) {
                wizard_->mapping = *last;
                remembered_ = true;
            }
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading the remembered column mapping", ignored);
            // Without the remembered mapping the guesses serve.
        }
    }
    grdColumns->setRowCount(int(t.headers.size()));
    for (int c = 0; c < t.headers.size(); ++c) {
        grdColumns->setItem(c, 0, new QTableWidgetItem(t.headers[c]));
        grdColumns->setItem(c, 1, new QTableWidgetItem(examples(t, c)));
        QComboBox* box = fieldBox(c);
        box->setCurrentIndex(box->findData(int(wizard_->mapping[size_t(c)])));
        connect(box, &QComboBox::activated, this, [this, c] { field_Changed(c); });
        grdColumns->setCellWidget(c, 2, box);
    }
    grdColumns->resizeColumnToContents(0);
    grdColumns->setColumnWidth(0, std::min(grdColumns->columnWidth(0), 220));
    grdColumns->setColumnWidth(2, 300);
    showNotImported();
}

// A field fills one column only: choosing it here takes it from the column that had it.
void ImportColumnsPage::field_Changed(int column)
{
    auto* box = static_cast<QComboBox*>(grdColumns->cellWidget(column, 2));
    const auto field = GuestField(box->currentData().toInt());
    std::vector<GuestField>& mapping = wizard_->mapping;
    for (size_t i = 0; i < mapping.size(); ++i) {
        if (int(i) == column || field == GuestField::NotImported || field == GuestField::Needs ||
            mapping[i] != field)
            continue;
        mapping[i] = GuestField::NotImported;
        auto* other = static_cast<QComboBox*>(grdColumns->cellWidget(int(i), 2));
        other->setCurrentIndex(0);
    }
    mapping[size_t(column)] = field;
    if (field == GuestField::Group)
        guessPeopleColumns();
    showNotImported();
}

// Once a column groups the rows into parties, the columns of a person's values are read
// for each person.
void ImportColumnsPage::guessPeopleColumns()
{
    exchange::guessPeopleColumns(wizard_->mapping, wizard_->table.headers);
    for (size_t i = 0; i < wizard_->mapping.size(); ++i) {
        auto* box = static_cast<QComboBox*>(grdColumns->cellWidget(int(i), 2));
        box->setCurrentIndex(box->findData(int(wizard_->mapping[i])));
    }
}

void ImportColumnsPage::showNotImported()
{
    QStringList left;
    for (size_t i = 0; i < wizard_->mapping.size(); ++i)
        if (wizard_->mapping[i] == GuestField::NotImported)
            left << wizard_->table.headers[qsizetype(i)];
    QString text = left.isEmpty() ? QStringLiteral("Every column is imported.")
                                  : QStringLiteral("Not imported: %1.").arg(left.join(QStringLiteral(", ")));
    if (remembered_)
        text.prepend(
            QStringLiteral("The columns are read as in the last import of a file with these columns. "));
    lblNotImported->setText(text);
}

bool ImportColumnsPage::validatePage()
{
    const auto has = [this](GuestField f) {
        return std::find(wizard_->mapping.begin(), wizard_->mapping.end(), f) != wizard_->mapping.end();
    };
    if (has(GuestField::LastName) || has(GuestField::WholeName))
        return true;
    controls::MsgBox(QStringLiteral("Choose the column that holds the last name, or the whole name."),
                     controls::mb::Exclamation, QStringLiteral("Import Guests"), this);
    return false;
}

}  // namespace exchange
