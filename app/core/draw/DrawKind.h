#pragma once

#include <QString>

// How an expert came into a project's draw result; recorded with every pick in
// the audit trail.
enum class DrawKind { Initial, Replacement, Manual, Emergency };

inline QString drawKindText(DrawKind kind) {
    switch (kind) {
    case DrawKind::Replacement:
        return QStringLiteral("replacement");
    case DrawKind::Manual:
        return QStringLiteral("manual");
    case DrawKind::Emergency:
        return QStringLiteral("emergency");
    case DrawKind::Initial:
        break;
    }
    return QStringLiteral("initial");
}
