#pragma once

#include "BoundSql.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

class SqlDialect;
struct DemandRow;
struct DrawProject;

// The pieces every candidate query is built of: a head, a demand clause and
// the project's exclusion clause, joined in that order, in the SQL of one
// engine. Each value is bound.
class CandidateRules {
public:
    explicit CandidateRules(const SqlDialect& dialect) : dialect_(dialect) {}

    static BoundSql classHead();
    static BoundSql industryHead();
    static BoundSql specialtyHead();

    // Each demand clause also leaves out experts already in the project's result.
    BoundSql byClass(const QString& specialtyClass, const QString& billID) const;
    BoundSql byIndustry(const QString& industry, const QString& billID) const;
    BoundSql bySpecialty(int typeName, const QString& billID) const;

    // Avoided units and experts, enabled experts only,
    // the project's city, and the recent-draw window.
    BoundSql BuildExclusionClause(const DrawProject& project) const;
    // The recent-draw window of a project with gap_day above 0: experts with
    // a result row of a project evaluated in it are left out.
    struct Window {
        QDateTime from;
        QDateTime to;
    };
    static Window recentDrawWindow(const DrawProject& project);
    // Leaves out every employer that already has cap rows in the project's result.
    static BoundSql capClause(const QString& billID, int cap);

    // The full query: a stable order makes the pool, and so its fingerprint,
    // reproducible by an auditor.
    static BoundSql fullQuery(const BoundSql& head, const BoundSql& demand,
                              const BoundSql& exclusion);

    // Head and demand of an initial-draw demand row.
    struct Demand {
        BoundSql head;
        BoundSql clause;
    };
    Demand forDemandRow(const DemandRow& row, const QString& billID) const;

    // Head and demand for replacing a technical expert: the project's own
    // specialty or industry, then the declined row's specialty number, then its
    // industry, the last applicable step winning. Tells which one was used.
    struct Replacement {
        BoundSql head;
        BoundSql clause;
        QString reType;
        QString reClass;
        bool valid = true;
    };
    Replacement forTechnicalReplacement(const DrawProject& project, const QString& reType,
                                        const QString& reClass) const;

    static inline const QString kTechnical = QStringLiteral("技术类");
    static inline const QString kEconomic = QStringLiteral("经济类");
    static inline const QString kCost = QStringLiteral("造价类");

private:
    // Experts already in the project's result.
    BoundSql notYetDrawn(const QString& billID) const;

    const SqlDialect& dialect_;
};
