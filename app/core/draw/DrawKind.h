#pragma once

#include <QString>

// How an expert came into a project's draw result; recorded with every pick in
// the audit trail. A redraw, which empties the result, is recorded too.
enum class DrawKind { Initial, Replacement, Manual, Emergency, Redraw };

inline QString drawKindText(DrawKind kind) {
    switch (kind) {
    case DrawKind::Replacement:
        return QStringLiteral("replacement");
    case DrawKind::Manual:
        return QStringLiteral("manual");
    case DrawKind::Emergency:
        return QStringLiteral("emergency");
    case DrawKind::Redraw:
        return QStringLiteral("redraw");
    case DrawKind::Initial:
        break;
    }
    return QStringLiteral("initial");
}

// What one row of the audit trail records.
enum class DrawOutcome {
    // The expert was drawn and its result row written.
    Picked,
    // The random pick hit an employer that already has the project's cap; the
    // employer's candidates leave the pool and the pick is repeated.
    CapRejected,
    // The pool was empty: the demand row gets one expert fewer.
    Nobody,
    // The candidate's mobile number is already in the project's result, so
    // the candidate is not eligible (one person must not sit twice).
    DuplicateMobile,
    // The project's result was emptied by a redraw.
    Cleared
};

inline QString drawOutcomeText(DrawOutcome outcome) {
    switch (outcome) {
    case DrawOutcome::CapRejected:
        return QStringLiteral("cap-rejected");
    case DrawOutcome::Nobody:
        return QStringLiteral("none");
    case DrawOutcome::DuplicateMobile:
        return QStringLiteral("duplicate-mobile");
    case DrawOutcome::Cleared:
        return QStringLiteral("cleared");
    case DrawOutcome::Picked:
        break;
    }
    return QStringLiteral("picked");
}
