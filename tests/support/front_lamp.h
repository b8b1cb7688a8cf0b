#pragma once

#include "app/form_controls.h"

#include <QLabel>
#include <QString>
#include <QWidget>

// The lamp in front is the QLabel raised last among Picture2's children.
inline QString frontLamp(const FormControls &ui)
{
    const QObjectList children = ui.Picture2->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (qobject_cast<QLabel *>(*it))
            return (*it)->objectName();
    }
    return QString();
}
