#include "CandidateRules.h"

#include "DemandRow.h"
#include "DrawProject.h"
#include "SqlDialect.h"

namespace {

// Only what a result row copies: the register's photographs and résumés stay
// in the database.
const QString kColumns = QStringLiteral(
    "expert.expertID, expert.expertName, expert.TEL, expert.Mobile, expert.Employer, "
    "expert.specialtyClass, expert.ischeck");

// A result row without an expert number must not empty every pool through
// the NULL rule of "not in".
BoundSql notYetDrawn(const QString& billID) {
    return BoundSql(" and (expert.expertid not in(select expertid from projectList where  billid "
                    "= ? and expertid is not null))",
                    {billID});
}

} // namespace

BoundSql CandidateRules::classHead() {
    return BoundSql("Select " + kColumns + " from expert  Where 1=1");
}

BoundSql CandidateRules::industryHead() {
    return BoundSql("Select " + kColumns + " from expert  Where 1=1 ");
}

BoundSql CandidateRules::specialtyHead() {
    return BoundSql("Select " + kColumns +
                    " from expert  inner join expertSpecialtyType on expert.expertId = "
                    "expertSpecialtyType.eid  Where 1=1 ");
}

BoundSql CandidateRules::byClass(const QString& specialtyClass, const QString& billID) {
    return BoundSql(" and expert.specialtyClass = ?", {specialtyClass}) + notYetDrawn(billID);
}

BoundSql CandidateRules::byIndustry(const QString& industry, const QString& billID) {
    return BoundSql(" and expert.specialty = ?", {industry.trimmed()}) + notYetDrawn(billID);
}

BoundSql CandidateRules::bySpecialty(int typeName, const QString& billID) {
    return BoundSql(" and expertSpecialtyType.tid = ? ", {typeName}) + notYetDrawn(billID);
}

BoundSql CandidateRules::BuildExclusionClause(const DrawProject& project,
                                              const SqlDialect& dialect) {
    const QString& b = project.billID;
    BoundSql out(" and (expert.employer not in (SELECT bidderName FROM projectHbdw where BillID = "
                 "? and bidderName is not null)) and (expert.expertID not in(SELECT expertID "
                 "from ProjectHbExpert Where BillID = ? and expertID is not null))",
                 {b, b});
    out += BoundSql(dialect.enabledCondition());
    const QString city = project.city.trimmed();
    if (!city.isEmpty())
        out += BoundSql(" and expert.city  = ? ", {city});
    if (project.gapDay > 0 && project.pbBeginDate.isValid()) {
        const Window w = recentDrawWindow(project);
        out += BoundSql(" and expert.expertid not in(select projectList.expertid from projectList "
                        "left join project on project.BillID = projectList.BillID  where " +
                            dialect.dateTimeValue("project.PBBeginDate") + " between " +
                            dialect.dateTimeValue("?") + " and " + dialect.dateTimeValue("?") +
                            " and projectList.expertid is not null)",
                        {w.from, w.to});
    }
    return out;
}

CandidateRules::Window CandidateRules::recentDrawWindow(const DrawProject& project) {
    const QDate day = project.pbBeginDate.date();
    // From 23:59:59 of the day gap_day days before the evaluation up to the
    // end of the evaluation day's last second.
    return {QDateTime(day.addDays(-project.gapDay), QTime(23, 59, 59)),
            QDateTime(day, QTime(23, 59, 59, 999))};
}

BoundSql CandidateRules::capClause(const QString& billID, int cap) {
    return BoundSql(" and expert.Employer not in(select Employer from projectList Where BillID = ? "
                    "group by Employer having COUNT(Employer)>= ?)",
                    {billID, cap});
}

BoundSql CandidateRules::fullQuery(const BoundSql& head, const BoundSql& demand,
                                   const BoundSql& exclusion) {
    return head + demand + exclusion + BoundSql(" order by expert.expertID");
}

CandidateRules::Demand CandidateRules::forDemandRow(const DemandRow& row, const QString& billID) {
    if (row.specialtyClass != kTechnical)
        return {classHead(), byClass(row.specialtyClass, billID)};
    if (!row.specialty.trimmed().isEmpty())
        return {industryHead(), byIndustry(row.specialty, billID)};
    return {specialtyHead(), bySpecialty(row.typeName.toInt(), billID)};
}

CandidateRules::Replacement CandidateRules::forTechnicalReplacement(const DrawProject& project,
                                                                    const QString& reType,
                                                                    const QString& reClass) {
    Replacement out;
    const QString& b = project.billID;
    if (project.typeName.isNull() || project.typeName.toString().trimmed().isEmpty()) {
        out.head = industryHead();
        out.clause = byIndustry(project.specialty, b);
        out.reClass = project.specialty.trimmed();
    } else {
        out.head = specialtyHead();
        out.clause = bySpecialty(project.typeName.toInt(), b);
        out.reType = QString::number(project.typeName.toInt());
    }
    if (!reType.trimmed().isEmpty()) {
        bool isNumber = false;
        const int t = reType.trimmed().toInt(&isNumber);
        out.valid = isNumber;
        out.head = specialtyHead();
        out.clause = bySpecialty(t, b);
        out.reType = reType.trimmed();
        out.reClass.clear();
    }
    if (!reClass.trimmed().isEmpty()) {
        out.valid = true;
        out.head = industryHead();
        out.clause = byIndustry(reClass, b);
        out.reType.clear();
        out.reClass = reClass.trimmed();
    }
    if (project.num3 > 0)
        out.head += capClause(b, project.num3);
    return out;
}
