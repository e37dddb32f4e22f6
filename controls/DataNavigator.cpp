#include "controls/DataNavigator.h"

#include "controls/DataSource.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace controls {

DataNavigator::DataNavigator(DataSource* source, QWidget* parent) : QWidget(parent), source_(source)
{
    setObjectName(source->objectName());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(addButton("First", "|<"));
    layout->addWidget(addButton("Previous", "<"));
    caption_ = new QLabel(source->caption(), this);
    caption_->setObjectName("Caption");
    layout->addWidget(caption_, 1);
    layout->addWidget(addButton("Next", ">"));
    layout->addWidget(addButton("Last", ">|"));
    connect(source, &DataSource::captionChanged, caption_, &QLabel::setText);
}

QString DataNavigator::caption() const
{
    return caption_->text();
}

QToolButton* DataNavigator::addButton(const QString& name, const QString& text)
{
    static const QStringList Names = {"First", "Previous", "Next", "Last"};
    static const int Steps[] = {-2, -1, 1, 2};
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    button->setFocusPolicy(Qt::NoFocus);  // a click must not take the focus from a bound field
    const int step = Steps[Names.indexOf(name)];
    connect(button, &QToolButton::clicked, this, [this, step] { this->step(step); });
    return button;
}

// -2 first, -1 previous, +1 next, +2 last. A failure of the move is reported like a
// failure of the bound row (the source's Error event, then the store's message).
void DataNavigator::step(int direction)
{
    if (!source_ || !source_->recordset())
        return;
    try {
        switch (direction) {
            case -2:
                source_->moveFirst();
                break;
            case -1:
                source_->navigatePrevious();
                break;
            case 1:
                source_->navigateNext();
                break;
            default:
                source_->moveLast();
                break;
        }
    } catch (const store::StoreError& e) {
        source_->reportError(e);
    }
}

}  // namespace controls
