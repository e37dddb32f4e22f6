// Small pieces the guest window's source files share: named widgets of the window's
// kinds, frames that keep their place while hidden, and handler steps that stand alone.
#pragma once

#include "controls/Events.h"
#include "controls/Named.h"
#include "store/Log.h"
#include "store/Store.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QString>

namespace guests {

using controls::named;

inline QLineEdit* textBox(const QString& name, int maxLength = 0)
{
    auto* box = named(new QLineEdit, name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    controls::selectAllOnFocus(box);
    return box;
}

inline QGroupBox* frame(const QString& name, const QString& caption)
{
    return named(new QGroupBox(caption), name);
}

// A frame that keeps its place in the layout while hidden, so the tab does not jump.
inline void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Runs one step of a handler whose steps stand alone: a store failure ends that step only.
template <typename Step>
void tryStep(Step step)
{
    try {
        step();
    } catch (const store::StoreError& ignored) {
        store::logIgnored("a step of the guest window", ignored);
    }
}

}  // namespace guests
