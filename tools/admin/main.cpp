#include "AdminCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString out, err;
    const int rc = runAdmin(app.arguments().mid(1), &out, &err);
    fputs(out.toUtf8().constData(), stdout);
    fputs(err.toUtf8().constData(), stderr);
    return rc;
}
