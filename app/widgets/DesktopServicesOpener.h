#pragma once

#include "DesktopOpener.h"

// Opens files with the desktop's default handler.
class DesktopServicesOpener : public DesktopOpener {
public:
    bool open(const QString& path) override;
};
