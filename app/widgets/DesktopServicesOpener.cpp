#include "DesktopServicesOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopServicesOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
