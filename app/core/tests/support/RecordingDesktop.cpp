#include "RecordingDesktop.h"

#include "Services.h"

RecordingDesktop::RecordingDesktop() {
    Services::setDesktop(this);
}
RecordingDesktop::~RecordingDesktop() {
    Services::setDesktop(nullptr);
}

bool RecordingDesktop::open(const QString& path) {
    opened << path;
    return true;
}
