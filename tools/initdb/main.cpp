#include "InitDbCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString out, err;
    const int rc = runInitDb(app.arguments().mid(1), &out, &err);
    fputs(out.toLocal8Bit().constData(), stdout);
    fputs(err.toLocal8Bit().constData(), stderr);
    return rc;
}
