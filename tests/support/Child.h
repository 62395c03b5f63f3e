#pragma once

#include <QObject>
#include <QtGlobal>

// A control of a window by its object name, the design's name for it; a test that names a control
// the window lacks stops there, saying which.
template<class T> T &child(const QObject &window, const char *objectName)
{
    T *found = window.findChild<T *>(QLatin1StringView(objectName));
    if (!found)
        qFatal("%s has no control named %s", qPrintable(window.objectName()), objectName);
    return *found;
}
