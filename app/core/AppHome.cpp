#include "AppHome.h"

#include <QCoreApplication>
#include <QDir>

QString AppHome::dir() {
    const QString named = qEnvironmentVariable("PANELPICK_HOME");
    if (!named.isEmpty())
        return QDir(named).absolutePath();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString AppHome::path(const QString& rel) {
    QString tail = rel;
    tail.replace('\\', '/');
    while (tail.startsWith('/'))
        tail.remove(0, 1);
    return QDir(dir()).filePath(tail);
}
