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

QString DataNavigator::caption() const { return caption_->text(); }

QToolButton* DataNavigator::addButton(const QString& name, const QString& text)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    return button;
}

void DataNavigator::step(int) {}

}  // namespace controls
