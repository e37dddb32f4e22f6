#include "reports/ReportChoices.h"

namespace reports {

const QString EventFieldNames[5] = {
    QString(), QStringLiteral("{Guests.InvCeremony}"), QStringLiteral("{Guests.InvReception}"),
    QStringLiteral("{Guests.ShowerGuest}"), QStringLiteral("{Guests.InvRehearsal}")};

namespace {

// A report whose first option prints every row and whose next two options print the rows
// of a formula each.
ReportChoice optionChoice(int option, const QString& templateName, const QString& second,
                          const QString& third)
{
    return {option >= 0, templateName, option == 1 ? second : option == 2 ? third : QString()};
}

}  // namespace

ReportChoice guestListChoice(int option, int invitedEvent, int notInvitedEvent, const QString* eventFields)
{
    const auto eventField = [eventFields](int listIndex) {
        return listIndex >= 0 && listIndex < 4 ? eventFields[listIndex + 1] : QString();
    };
    return optionChoice(option, QStringLiteral("guests.rpt"), eventField(invitedEvent) + " = True",
                        eventField(notInvitedEvent) + " = False");
}

ReportChoice expenseChoice(int option)
{
    return optionChoice(option, QStringLiteral("expense.rpt"), QStringLiteral("{Expenses.Owing} > 0"),
                        QStringLiteral("{Expenses.Owing} = 0"));
}

ReportChoice checklistChoice(int option)
{
    return optionChoice(option, QStringLiteral("checklst.rpt"), QStringLiteral("{Checklist.done} = False"),
                        QStringLiteral("{Checklist.Done} = True"));
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
