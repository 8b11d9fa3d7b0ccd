#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh application home for one test: PANELPICK_HOME points at a
// temporary folder for the object's lifetime.
class TempHome {
public:
    TempHome();
    ~TempHome();
    QString dir() const { return dir_.path(); }
    QString path(const QString& rel) const;
    void write(const QString& rel, const QByteArray& bytes) const;
    QByteArray read(const QString& rel) const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_;
};
