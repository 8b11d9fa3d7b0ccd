#include "ProjectDraw.h"

#include "Clock.h"
#include "DbContext.h"
#include "DrawProject.h"
#include "Services.h"
#include "SqlRun.h"

#include <QSqlQuery>

QString ProjectDraw::unknownProject(const QString& billID) {
    return QStringLiteral("找不到项目“%1”。").arg(billID);
}

DrawEngine::Outcome ProjectDraw::check(const QString& billID, bool forRedraw) {
    using S = DrawEngine::Status;
    if (engine_.isBusy())
        return {S::Refused, DrawEngine::kBusy};
    DrawProject project;
    QString error;
    if (!DrawProject::OpenProject(db_.connection(), billID, &project, &error))
        return {S::Failed, error};
    if (!project.found)
        return {S::Refused, unknownProject(billID)};
    if (project.archived)
        return {S::Refused, kArchived};
    QList<ResultLine> rows;
    if (!result(billID, &rows, &error))
        return {S::Failed, error};
    if (!forRedraw && !rows.isEmpty())
        return {S::Refused, kHasResult};
    bool has = false;
    const DrawEngine::Outcome demand = engine_.hasDemand(billID, &has);
    if (!demand.ok())
        return demand;
    if (!has)
        return {S::Refused, kNoDemand};
    return {};
}

DrawEngine::Outcome ProjectDraw::stampAndDraw(const QString& billID) {
    QSqlQuery q(db_.connection());
    QString error;
    const QDateTime today(Services::clock().now().date(), QTime(0, 0));
    if (!RunBound(q, "UPDATE project SET EditDate = ? WHERE BillID = ?", {today, billID}, &error))
        return {DrawEngine::Status::Failed, error};
    return engine_.runDraw(billID);
}

DrawEngine::Outcome ProjectDraw::initialDraw(const QString& billID) {
    const DrawEngine::Outcome checked = check(billID, false);
    if (!checked.ok())
        return checked;
    return stampAndDraw(billID);
}

DrawEngine::Outcome ProjectDraw::redraw(const QString& billID) {
    const DrawEngine::Outcome checked = check(billID, true);
    if (!checked.ok())
        return checked;
    const DrawEngine::Outcome cleared = engine_.clearResult(billID);
    if (!cleared.ok())
        return cleared;
    return stampAndDraw(billID);
}

bool ProjectDraw::result(const QString& billID, QList<ResultLine>* out, QString* error) const {
    QSqlQuery q(db_.connection());
    q.setForwardOnly(true);
    if (!RunBound(q,
                  "SELECT expertID, specialtyClass, ICNO, Employer FROM ProjectList WHERE billid "
                  "= ? ORDER BY id",
                  {billID}, error))
        return false;
    while (q.next())
        out->append(
            {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3)});
    return true;
}
