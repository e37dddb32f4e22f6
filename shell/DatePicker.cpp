#include "shell/DatePicker.h"

#include "controls/CellFormat.h"
#include "controls/Dialogs.h"
#include "shell/frmCalander.h"

#include <QLineEdit>
#include <QPointer>

namespace shell {

namespace {

// The exchange fields: the main window's hidden text boxes once registered; plain texts
// before that (windows tested on their own).
struct Exchange {
    QPointer<QLineEdit> oldDate;
    QPointer<QLineEdit> newDate;
    QString oldText;
    QString newText;
};

Exchange& exchange()
{
    static Exchange fields;
    return fields;
}

}  // namespace

void registerDateExchange(QLineEdit* oldDate, QLineEdit* newDate)
{
    exchange().oldDate = oldDate;
    exchange().newDate = newDate;
}

QString oldDateText()
{
    return exchange().oldDate ? exchange().oldDate->text() : exchange().oldText;
}
QString newDateText()
{
    return exchange().newDate ? exchange().newDate->text() : exchange().newText;
}

void setOldDateText(const QString& text)
{
    exchange().oldText = text;
    if (exchange().oldDate)
        exchange().oldDate->setText(text);
}

void setNewDateText(const QString& text)
{
    exchange().newText = text;
    if (exchange().newDate)
        exchange().newDate->setText(text);
}

QString pickedFieldName(const QString& caption)
{
    const QString prefix = QStringLiteral("Enter ");
    return caption.startsWith(prefix) ? caption.mid(prefix.size()) : caption;
}

QString pickDate(const QString& caption, const QDate& start, const QString& oldText,
                 const std::optional<QString>& seed, const QString& typed)
{
    setOldDateText(oldText);
    if (seed)
        setNewDateText(*seed);
    frmCalander* picker = frmCalander::instance();
    picker->setWindowTitle(caption);
    picker->setFieldName(pickedFieldName(caption));
    picker->setValue(start);
    picker->setTypedText(typed);
    controls::ShowModal(picker);
    if (frmCalander::isLoaded() && picker->unloadRequested())
        frmCalander::unload();
    return newDateText();
}

}  // namespace shell
