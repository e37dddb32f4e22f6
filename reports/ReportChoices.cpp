#include "reports/ReportChoices.h"

namespace reports {

const QString EventFieldNames[5] = {QString(), QStringLiteral("{Guests.InvCeremony}"),
                                QStringLiteral("{Guests.InvReception}"), QStringLiteral("{Guests.ShowerGuest}"),
                                QStringLiteral("{Guests.InvRehearsal}")};

ReportChoice guestListChoice(int option, int invitedEvent, int notInvitedEvent, const QString* eventFields)
{
    const auto eventField = [eventFields](int listIndex) {
        return listIndex >= 0 && listIndex < 4 ? eventFields[listIndex + 1] : QString();
    };
    ReportChoice choice{option >= 0, QStringLiteral("guests.rpt"), QString()};
    if (option == 1)
        choice.formula = eventField(invitedEvent) + " = True";
    else if (option == 2)
        choice.formula = eventField(notInvitedEvent) + " = False";
    return choice;
}

ReportChoice expenseChoice(int option)
{
    ReportChoice choice{option >= 0, QStringLiteral("expense.rpt"), QString()};
    if (option == 1)
        choice.formula = QStringLiteral("{Expenses.Owing} > 0");
    else if (option == 2)
        choice.formula = QStringLiteral("{Expenses.Owing} = 0");
    return choice;
}

ReportChoice checklistChoice(int option)
{
    ReportChoice choice{option >= 0, QStringLiteral("checklst.rpt"), QString()};
    if (option == 1)
        choice.formula = QStringLiteral("{Checklist.done} = False");
    else if (option == 2)
        choice.formula = QStringLiteral("{Checklist.Done} = True");
    return choice;
}

ReportChoice seatingChoice(int option)
{
    return {option >= 0, QStringLiteral("seating.rpt"),
            option == 0 ? QStringLiteral("{Guests.tableid} > 0") : QStringLiteral("{Guests.tableid} = 0")};
}

const QStringList& labelStyles()
{
    static const QStringList styles{"5160", "5161", "5162", "5260", "5261", "5262", "5660", "5662", "5663"};
    return styles;
}

QString labelTemplateName(int eventIndex, int styleIndex)
{
    const QString prefix = eventIndex == 3 ? QStringLiteral("shw") : QStringLiteral("lbl");
    return prefix + labelStyles().value(styleIndex) + QStringLiteral(".rpt");
}

QString labelListEntry(const QVariant& labelText)
{
    const QString text = labelText.toString();
    return text.isEmpty() ? QStringLiteral("** Missing Label **") : text;
}

}  // namespace reports
