// The seating manager's controls and their layout: four columns (tables, occupants,
// unassigned parties, assigned parties) over Help and Close.
#include "seating/frmSeater.h"

#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Events.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setUniformItemSizes(true);  // thousands of parties: no per-entry size queries
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QFrame* makePanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

void makeBold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

}  // namespace

void frmSeater::buildControls()
{
    Data1 = new controls::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    connect(Data1, &controls::DataSource::reposition, this, &frmSeater::Data1_Reposition);

    // Tables, the current table's properties and the table buttons.
    Label8 = makeLabel(this, "Label8", QStringLiteral("Tables"));
    DBList1 = new controls::DataList(this);
    DBList1->setObjectName(QStringLiteral("DBList1"));
    DBList1->setRowSource(Data1, QStringLiteral("tablename"), QStringLiteral("TableId"));
    controls::on(DBList1).click([this] { DBList1_Click(); });

    Picture2 = makePanel(this, "Picture2");
    Label9 = makeLabel(Picture2, "Label9", QStringLiteral("Table Properties"));
    makeBold(Label9);
    Label6 = makeLabel(Picture2, "Label6", QStringLiteral("Seats"));
    Label12 = makeLabel(Picture2, "Label12", QStringLiteral("People"));
    Label10 = makeLabel(Picture2, "Label10", QStringLiteral("Groups"));
    lblseats = makeLabel(Picture2, "lblseats", QStringLiteral("0"));
    lblpeople = makeLabel(Picture2, "lblpeople", QStringLiteral("0"));
    lblgroups = makeLabel(Picture2, "lblgroups", QStringLiteral("0"));
    auto* properties = new QGridLayout(Picture2);
    properties->addWidget(Label9, 0, 0, 1, 3, Qt::AlignHCenter);
    int column = 0;
    for (QLabel* caption : {Label6, Label12, Label10})
        properties->addWidget(caption, 1, column++, Qt::AlignHCenter);
    column = 0;
    for (QLabel* value : {lblseats, lblpeople, lblgroups}) {
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(48);
        properties->addWidget(value, 2, column++, Qt::AlignHCenter);
    }

    Command1 = makeButton(this, "Command1", QStringLiteral("Add Table"));
    Command4 = makeButton(this, "Command4", QStringLiteral("Edit Table"));
    Command3 = makeButton(this, "Command3", QStringLiteral("Delete Table"));
    Command2 = makeButton(this, "Command2", QStringLiteral("Clear Table"));
    connect(Command1, &QPushButton::clicked, this, &frmSeater::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmSeater::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSeater::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSeater::Command2_Click);
    auto* tableButtons = new QGridLayout;
    tableButtons->addWidget(Command1, 0, 0);
    tableButtons->addWidget(Command4, 0, 1);
    tableButtons->addWidget(Command3, 1, 0);
    tableButtons->addWidget(Command2, 1, 1);

    auto* tablesColumn = new QVBoxLayout;
    tablesColumn->addWidget(Label8);
    tablesColumn->addWidget(DBList1, 1);
    tablesColumn->addWidget(Picture2);
    tablesColumn->addLayout(tableButtons);

    // The occupants of the current table.
    Label7 = makeLabel(this, "Label7", QStringLiteral("Table Occupants"));
    List3 = makeList(this, "List3");
    Command6 = makeButton(this, "Command6", QStringLiteral("Remove Guest"));
    connect(Command6, &QPushButton::clicked, this, &frmSeater::Command6_Click);
    auto* occupantsColumn = new QVBoxLayout;
    occupantsColumn->addWidget(Label7);
    occupantsColumn->addWidget(List3, 1);
    occupantsColumn->addWidget(Command6);

    // The parties not yet seated, the picked party's size, and Add Guest.
    Label2 = makeLabel(this, "Label2", QStringLiteral("Unassigned Guests"));
    List1 = makeList(this, "List1");
    controls::on(List1).click([this] { List1_Click(); });
    Picture1 = makePanel(this, "Picture1");
    Label1 = makeLabel(Picture1, "Label1", QStringLiteral("Guest Party"));
    makeBold(Label1);
    Label5 = makeLabel(Picture1, "Label5", QString());
    Label4 = makeLabel(Picture1, "Label4", QString());
    auto* party = new QHBoxLayout(Picture1);
    party->addWidget(Label1);
    party->addStretch();
    party->addWidget(Label5);
    party->addWidget(Label4);
    Command5 = makeButton(this, "Command5", QStringLiteral("Add Guest"));
    connect(Command5, &QPushButton::clicked, this, &frmSeater::Command5_Click);
    auto* unassignedColumn = new QVBoxLayout;
    unassignedColumn->addWidget(Label2);
    unassignedColumn->addWidget(List1, 1);
    unassignedColumn->addWidget(Picture1);
    unassignedColumn->addWidget(Command5);

    // Every seated party, for viewing only.
    Label3 = makeLabel(this, "Label3", QStringLiteral("Assigned Guests"));
    List2 = makeList(this, "List2");
    controls::on(List2).click([this] { List2_Click(); });
    auto* assignedColumn = new QVBoxLayout;
    assignedColumn->addWidget(Label3);
    assignedColumn->addWidget(List2, 1);

    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("Help"));
    SSCommand4 = makeButton(this, "SSCommand4", QStringLiteral("Close"));
    connect(SSCommand1, &QPushButton::clicked, this, &frmSeater::SSCommand1_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &frmSeater::SSCommand4_Click);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(SSCommand1);
    bottom->addWidget(SSCommand4);

    auto* columns = new QHBoxLayout;
    columns->addLayout(tablesColumn, 1);
    columns->addLayout(occupantsColumn, 1);
    columns->addLayout(unassignedColumn, 1);
    columns->addLayout(assignedColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    resize(940, 540);
}
