#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempHome::TempHome()
    : previous_(qgetenv("PANELPICK_HOME")),
      hadPrevious_(qEnvironmentVariableIsSet("PANELPICK_HOME")) {
    qputenv("PANELPICK_HOME", dir_.path().toLocal8Bit());
}

TempHome::~TempHome() {
    if (hadPrevious_)
        qputenv("PANELPICK_HOME", previous_);
    else
        qunsetenv("PANELPICK_HOME");
}

QString TempHome::path(const QString& rel) const {
    return QDir(dir_.path()).filePath(rel);
}

void TempHome::write(const QString& rel, const QByteArray& bytes) const {
    const QString p = path(rel);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray TempHome::read(const QString& rel) const {
    QFile f(path(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
