// A widget bound to a field of a DataSource (internal to the DataSource's sources).
#pragma once

#include "controls/DataSource.h"

#include <QPointer>
#include <QWidget>

namespace controls {

struct DataSource::Binding {
    QPointer<QWidget> widget;
    QString field;
    FieldFormat format;
    QString loadedText;      // the widget's text right after loading: differs once edited
    bool mustWrite = false;  // written at the next update even when unchanged since loading
};

// Fields are named without regard to case: the key of a field in the row buffer.
inline QString fieldKeyOf(const QString& field)
{
    return field.toLower();
}

}  // namespace controls
