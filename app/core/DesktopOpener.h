#pragma once

#include <QString>

// Hands a file or folder to the desktop's default handler (help page, data
// link, outside programs).
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const QString& path) = 0;
};
