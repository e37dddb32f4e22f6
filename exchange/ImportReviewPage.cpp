// Step 3 of the guest import: the review, and the import itself.
#include "exchange/frmImportGuests.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace exchange {

namespace {

QTableWidget* reviewGrid(const char* name, const QStringList& headers)
{
    auto* grid = new QTableWidget(0, int(headers.size()));
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QString textOf(const QMap<QString, QVariant>& values, const char* column)
{
    const QVariant v = values.value(QLatin1String(column));
    return v.isNull() ? QString() : shownText(v.toString());
}

void setRow(QTableWidget* grid, int r, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        grid->setItem(r, c, new QTableWidgetItem(cells[c]));
}

const QStringList DuplicateChoices = {QStringLiteral("Skip"), QStringLiteral("Add anyway"),
                                      QStringLiteral("Fill empty fields")};

}  // namespace

ImportReviewPage::ImportReviewPage(frmImportGuests* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Step 4 of 4: review"));
    setSubTitle(
        QStringLiteral("Check what will be imported. Nothing is written until you press Import; a copy "
                       "of the wedding file is kept first."));
    setCommitPage(true);
    tabReview = new QTabWidget;
    tabReview->setObjectName(QStringLiteral("tabReview"));
    grdNew = reviewGrid("grdNew", {"Row", "Name", "Address", "City", "Guest of", "Invited"});
    grdDuplicates = reviewGrid("grdDuplicates", {"Row", "Name", "Looks like", "Because", "Do"});
    grdProblems = reviewGrid("grdProblems", {"Row", "Name", "Problem", "Do"});
    treParties = new QTreeWidget;
    treParties->setObjectName(QStringLiteral("treParties"));
    treParties->setHeaderLabels({"Row", "Party / person", "Address", "City", "Guest of", "Invited",
                                 "Age group", "Meal", "Dietary needs"});
    treParties->setAlternatingRowColors(true);
    newPlace_ = new QStackedWidget;
    newPlace_->addWidget(grdNew);
    newPlace_->addWidget(treParties);
    tabReview->addTab(newPlace_, QString());
    auto* duplicates = new QWidget;
    auto* dupLayout = new QVBoxLayout(duplicates);
    auto* allRow = new QHBoxLayout;
    cboAllDuplicates = new QComboBox;
    cboAllDuplicates->setObjectName(QStringLiteral("cboAllDuplicates"));
    cboAllDuplicates->addItems(DuplicateChoices);
    auto* allLabel = new QLabel(QStringLiteral("For &every likely duplicate:"));
    allLabel->setBuddy(cboAllDuplicates);
    allRow->addWidget(allLabel);
    allRow->addWidget(cboAllDuplicates);
    allRow->addStretch();
    dupLayout->addLayout(allRow);
    dupLayout->addWidget(grdDuplicates);
    tabReview->addTab(duplicates, QString());
    tabReview->addTab(grdProblems, QString());
    lblCounts = new QLabel;
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    lblNotImported = new QLabel;
    lblNotImported->setObjectName(QStringLiteral("lblNotImported"));
    lblNotImported->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCounts);
    layout->addWidget(tabReview);
    layout->addWidget(lblNotImported);
    connect(cboAllDuplicates, &QComboBox::activated, this, [this](int choice) {
        for (int r = 0; r < grdDuplicates->rowCount(); ++r)
            static_cast<QComboBox*>(grdDuplicates->cellWidget(r, 4))->setCurrentIndex(choice);
    });
}

void ImportReviewPage::initializePage()
{
    ImportSettings settings;
    settings.mapping = wizard_->mapping;
    settings.brideName = shell::program().BrideName;
    settings.groomName = shell::program().GroomName;
    settings.inviteTo = wizard_->inviteTo;
    settings.side = wizard_->side;
    settings.people = wizard_->people;
    try {
        wizard_->review = reviewImport(
            wizard_->table, settings,
            loadGuestList(shell::database(), groupsPeople(settings.mapping) ? settings.people : nullptr));
    } catch (const store::StoreError& e) {
        wizard_->review = {};
        controls::MsgBox(
            QStringLiteral("The guest list of the wedding cannot be read: %1").arg(e.description()),
            controls::mb::Exclamation, QStringLiteral("Import Guests"), this);
    } catch (const ExchangeError& e) {
        wizard_->review = {};
        controls::MsgBox(e.message(), controls::mb::Exclamation, QStringLiteral("Import Guests"), this);
    }
    const ImportReview& r = wizard_->review;
    tabReview->setTabText(0, QStringLiteral("&New parties (%1)").arg(r.newCount()));
    tabReview->setTabText(1, QStringLiteral("Likely &duplicates (%1)").arg(r.duplicateCount()));
    tabReview->setTabText(2, QStringLiteral("&Problems (%1)").arg(r.problemCount()));
    lblCounts->setText(QStringLiteral("%1 rows read from %2.").arg(r.rows.size()).arg(wizard_->path));
    lblNotImported->setText(
        r.notImported.isEmpty()
            ? QString()
            : QStringLiteral("Columns not imported: %1.").arg(r.notImported.join(QStringLiteral(", "))));
    const bool people = groupsPeople(wizard_->mapping);
    newPlace_->setCurrentIndex(people ? 1 : 0);
    if (people) {
        int persons = 0;
        for (const ReviewRow& row : r.rows)
            persons += int(row.personRows.size());
        lblCounts->setText(QStringLiteral("%1 people in %2 parties read from %3.")
                               .arg(persons)
                               .arg(r.rows.size())
                               .arg(wizard_->path));
        fillParties();
    } else {
        fillNew();
    }
    fillDuplicates();
    fillProblems();
}

void ImportReviewPage::fillNew()
{
    const ImportReview& r = wizard_->review;
    grdNew->setRowCount(r.newCount());
    int at = 0;
    for (const ReviewRow& row : r.rows) {
        if (!row.problems.empty() || row.duplicate)
            continue;
        const QMap<QString, QVariant> values = row.values();
        const QString side = textOf(values, "guestof");
        setRow(grdNew, at++,
               {QString::number(row.rowNumber), shownText(RowReading{values, {}}.name()),
                textOf(values, "Address"), textOf(values, "City"),
                side.isEmpty() ? QStringLiteral("Both") : side, textOf(values, "Invited")});
    }
    grdNew->resizeColumnsToContents();
}

namespace {

// How the review names a person: by name, an unnamed plus-one as "Guest of " and who brings them.
QString personName(const std::vector<shell::ImportedPerson>& people, const shell::ImportedPerson& p)
{
    const QString name = (p.firstName + QLatin1Char(' ') + p.lastName).simplified();
    if (!name.isEmpty())
        return shownText(name);
    if (p.plusOneOf && *p.plusOneOf < people.size())
        return QStringLiteral("Guest of %1").arg(personName(people, people[*p.plusOneOf]));
    return QStringLiteral("Unnamed guest");
}

}  // namespace

// A list of people: each new party with its people beneath it, unfolded.
void ImportReviewPage::fillParties()
{
    treParties->clear();
    const ImportReview& r = wizard_->review;
    QList<QTreeWidgetItem*> items;
    for (const ReviewRow& row : r.rows) {
        if (!row.problems.empty() || row.duplicate)
            continue;
        const QMap<QString, QVariant> values = row.values();
        const QString side = textOf(values, "guestof");
        auto* party = new QTreeWidgetItem(
            QStringList{QString::number(row.rowNumber), shownText(RowReading{values, {}}.name()),
                        textOf(values, "Address"), textOf(values, "City"),
                        side.isEmpty() ? QStringLiteral("Both") : side, textOf(values, "Invited")});
        QFont bold = party->font(1);
        bold.setBold(true);
        party->setFont(1, bold);
        const std::vector<shell::ImportedPerson> people = row.people();
        for (size_t i = 0; i < people.size(); ++i) {
            const shell::ImportedPerson& p = people[i];
            const qsizetype tableRow = row.personRows[i];
            party->addChild(new QTreeWidgetItem(QStringList{
                QString::number(r.rows.front().source->table.rowNumbers.value(tableRow, int(tableRow) + 1)),
                personName(people, p),
                {},
                {},
                {},
                {},
                p.ageGroup.isEmpty() ? QStringLiteral("Adult") : shownText(p.ageGroup),
                shownText(p.meal),
                shownText(p.needs)}));
        }
        items << party;
    }
    treParties->addTopLevelItems(items);
    treParties->expandAll();
    for (int c = 0; c < treParties->columnCount(); ++c)
        treParties->resizeColumnToContents(c);
    if (!items.isEmpty())
        treParties->setCurrentItem(items.front());
}

void ImportReviewPage::fillDuplicates()
{
    ImportReview& r = wizard_->review;
    grdDuplicates->setRowCount(r.duplicateCount());
    int at = 0;
    for (size_t i = 0; i < r.rows.size(); ++i) {
        ReviewRow& row = r.rows[i];
        if (!row.problems.empty() || !row.duplicate)
            continue;
        const Duplicate& d = *row.duplicate;
        const QString other = d.ofExisting ? QStringLiteral("%1 (in the list)").arg(d.matchedName)
                                           : QStringLiteral("%1 (row %2)")
                                                 .arg(d.matchedName)
                                                 .arg(r.rows[size_t(d.earlierRow)].rowNumber);
        setRow(grdDuplicates, at, {QString::number(row.rowNumber), row.name(), other, d.reason});
        auto* choice = new QComboBox;
        choice->setObjectName(QStringLiteral("cboDuplicate(%1)").arg(at));
        choice->addItems(DuplicateChoices);
        choice->setCurrentIndex(int(row.duplicateAction));
        connect(choice, &QComboBox::currentIndexChanged, this,
                [&row](int index) { row.duplicateAction = DuplicateAction(index); });
        grdDuplicates->setCellWidget(at++, 4, choice);
    }
    grdDuplicates->resizeColumnsToContents();
}

void ImportReviewPage::fillProblems()
{
    ImportReview& r = wizard_->review;
    grdProblems->setRowCount(r.problemCount());
    int at = 0;
    for (ReviewRow& row : r.rows) {
        if (row.problems.empty())
            continue;
        QStringList texts;
        for (const Problem& p : row.problems)
            texts << p.text();
        setRow(grdProblems, at, {QString::number(row.rowNumber), row.name(), texts.join(QLatin1Char('\n'))});
        auto* choice = new QComboBox;
        choice->setObjectName(QStringLiteral("cboProblem(%1)").arg(at));
        choice->addItem(QStringLiteral("Skip the row"));
        if (row.fixable())
            choice->addItem(
                QStringLiteral("Import, shortening long texts and leaving unreadable values out"));
        choice->setCurrentIndex(int(row.problemAction));
        connect(choice, &QComboBox::currentIndexChanged, this,
                [&row](int index) { row.problemAction = ProblemAction(index); });
        grdProblems->setCellWidget(at++, 3, choice);
    }
    grdProblems->resizeColumnsToContents();
    grdProblems->resizeRowsToContents();
}

bool ImportReviewPage::validatePage()
{
    try {
        wizard_->result = runImport(shell::database(), wizard_->review);
    } catch (const store::StoreError& e) {
        controls::MsgBox(
            QStringLiteral("The guests could not be imported: %1\nNothing was changed.").arg(e.description()),
            controls::mb::Exclamation, QStringLiteral("Import Guests"), this);
        return false;
    } catch (const ExchangeError& e) {
        controls::MsgBox(e.message(), controls::mb::Exclamation, QStringLiteral("Import Guests"), this);
        return false;
    }
    wizard_->imported = wizard_->result.added > 0 || wizard_->result.updated > 0;
    if (store::Recordset* count = shell::program().InvitedSnapshot) {
        try {
            count->requery();
        } catch (const store::StoreError& ignored) {
            store::logIgnored("reading the invited guests again after the import", ignored);
        }
    }
    return true;
}

ImportDonePage::ImportDonePage(frmImportGuests* wizard) : wizard_(wizard)
{
    setTitle(QStringLiteral("Import finished"));
    lblSummary = new QLabel;
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addStretch();
}

void ImportDonePage::initializePage()
{
    lblSummary->setText(wizard_->result.summary());
}

}  // namespace exchange
