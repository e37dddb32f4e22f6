// Gives a control its name (objectName: how tests, help texts and the window's own code
// know it) and returns it, so that a window creates, names and places a control in one
// expression:
//
//     layout->addWidget(txtFile = controls::named(new QLineEdit, "txtFile"));
#pragma once

#include <QLatin1String>
#include <QString>

namespace controls {

template <typename Control>
Control* named(Control* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}

template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

}  // namespace controls
