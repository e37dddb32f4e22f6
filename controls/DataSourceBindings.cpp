// The DataSource's bound widgets: loading them from the current row, reading their text
// back into values, and telling which of them the user has changed.
#include "controls/DataSource.h"

#include "controls/CellFormat.h"
#include "controls/DataSourceBinding.h"
#include "controls/MaskedEdit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace controls {

namespace {

QAbstractButton* checkableButton(QWidget* widget)
{
    auto* button = qobject_cast<QAbstractButton*>(widget);
    return button && button->isCheckable() ? button : nullptr;
}

}  // namespace

void DataSource::bind(QWidget* widget, const QString& field, FieldFormat format)
{
    unbind(widget);
    auto binding = std::make_unique<Binding>();
    binding->widget = widget;
    binding->field = field;
    binding->format = std::move(format);
    loadBinding(*binding);
    bindings_.push_back(std::move(binding));
}

void DataSource::unbind(QWidget* widget)
{
    std::erase_if(bindings_, [widget](const auto& b) { return b->widget == widget; });
}

QString DataSource::boundField(QWidget* widget) const
{
    for (const auto& b : bindings_)
        if (b->widget == widget)
            return b->field;
    return QString();
}

void DataSource::loadBindings()
{
    for (auto& b : bindings_)
        loadBinding(*b);
}

void DataSource::loadBinding(Binding& binding)
{
    if (!binding.widget)
        return;
    QVariant value;
    try {
        value = fieldValue(binding.field);
    } catch (const store::StoreError& e) {
        raiseError(e.number(), e.description());
    }
    showInWidget(binding, value);
    binding.loadedText = widgetText(binding);
    binding.mustWrite = false;
}

// The widget's state as text: what is compared to find edited widgets.
QString DataSource::widgetText(const Binding& binding) const
{
    QWidget* w = binding.widget;
    if (!w)
        return QString();
    if (auto* masked = qobject_cast<MaskedEdit*>(w))
        return masked->text();
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(w))
        return rich->toPlainText();
    if (auto* button = checkableButton(w))
        return button->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return binding.loadedText;  // labels and other display-only widgets never change it
}

bool DataSource::isBindingDirty(const Binding& binding) const
{
    return binding.widget && (binding.mustWrite || widgetText(binding) != binding.loadedText);
}

void DataSource::markShownAsEdited()
{
    for (auto& b : bindings_)
        if (b->widget && !qobject_cast<QLabel*>(b->widget.data()))  // labels only show values
            b->mustWrite = true;
}

void DataSource::showInWidget(Binding& binding, const QVariant& value)
{
    QWidget* w = binding.widget;
    if (auto* button = checkableButton(w)) {
        button->setChecked(value.isValid() && !value.isNull() && value.toBool());
        return;
    }
    QString text;
    if (value.isValid() && !value.isNull())
        text = binding.format.format ? binding.format.format(value) : textOf(value, fieldType(binding.field));
    if (auto* masked = qobject_cast<MaskedEdit*>(w))
        masked->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(w))
        rich->setPlainText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
}

QVariant DataSource::bindingValue(const Binding& binding) const
{
    const store::FieldType type = fieldType(binding.field);
    if (checkableButton(binding.widget))
        return widgetText(binding) == QLatin1String("1");
    QString text = widgetText(binding);
    if (qobject_cast<QLineEdit*>(binding.widget) || qobject_cast<QComboBox*>(binding.widget))
        text = oneLineText(text);  // a pasted line break would break lists and labels
    if (text.isEmpty())
        return type == store::FieldType::Text ? QVariant(QString("")) : QVariant();
    return binding.format.parse ? binding.format.parse(text) : valueOf(text, type);
}

// The text of a label that names a widget bound to the field (its buddy), without its
// mnemonic and colon: "&Last Name:" -> "Last Name".
QString DataSource::boundCaption(const QString& field) const
{
    for (const auto& b : bindings_) {
        if (!b->widget || fieldKeyOf(b->field) != fieldKeyOf(field))
            continue;
        for (QLabel* label : b->widget->window()->findChildren<QLabel*>()) {
            if (label->buddy() != b->widget)
                continue;
            QString text = label->text();
            text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            text = text.trimmed();
            if (text.endsWith(QLatin1Char(':')))
                text.chop(1);
            return text.trimmed();
        }
    }
    return QString();
}

QString DataSource::textOf(const QVariant& value, store::FieldType type)
{
    Q_UNUSED(type);
    return formatCell(value, CellFormat::AsEntered);
}

QVariant DataSource::valueOf(const QString& text, store::FieldType type)
{
    if (type == store::FieldType::Text || type == store::FieldType::Unknown)
        return text;
    return parseCell(text, type);
}

}  // namespace controls
