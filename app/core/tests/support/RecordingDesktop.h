#pragma once

#include "DesktopOpener.h"

#include <QStringList>

// Records what would have been handed to the desktop; installed for the
// object's lifetime.
class RecordingDesktop : public DesktopOpener {
public:
    RecordingDesktop();
    ~RecordingDesktop() override;
    bool open(const QString& path) override;
    QStringList opened;
};
