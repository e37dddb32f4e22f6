// Which template and which selection formula each choice of the reports window runs.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace reports {

// A report the window can run: whether an option was chosen, the template's file name
// in the program directory, and the selection formula ("" = every row).
struct ReportChoice {
    bool found = false;
    QString templateName;
    QString formula;
};

// The engine's names of the Guests Yes/No fields of the four events, in the order of the
// event lists ("Ceremony", "Reception", "Shower", "Rehearsal"): index 1 to 4, 0 unused.
extern const QString EventFieldNames[5];

// Options are the index of the chosen option of a tab, -1 when none is chosen. The
// guest list's event indexes are the list indexes of its two event lists; eventFields
// holds the field names at indexes 1 to 4 (EventFieldNames).
ReportChoice guestListChoice(int option, int invitedEvent, int notInvitedEvent, const QString* eventFields);
ReportChoice expenseChoice(int option);
ReportChoice checklistChoice(int option);
ReportChoice seatingChoice(int option);

// The label stocks, in the order of the style list.
const QStringList& labelStyles();
// "lbl" + stock + ".rpt", or "shw" + stock + ".rpt" for the shower (event index 3).
QString labelTemplateName(int eventIndex, int styleIndex);
// How a party appears in the list of the Labels tab.
QString labelListEntry(const QVariant& labelText);

}  // namespace reports
