#include "CandidateRules.h"

#include "DemandRow.h"
#include "DrawProject.h"
#include "SqlDialect.h"

namespace {

// Only what the rules look at: a pool is read whole for every demand row, and
// the result row copies the rest from the register when it is written.
const QString kColumns = QStringLiteral(
    "expert.expertID, expert.Mobile, expert.Employer, expert.specialtyClass, expert.ischeck");

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

BoundSql CandidateRules::notYetDrawn(const QString& billID) const {
    return BoundSql(dialect_.notAmong("expert.expertid", "pl.expertid",
                                      "from projectList pl where pl.billid = ?"),
                    {billID});
}

BoundSql CandidateRules::byClass(const QString& specialtyClass, const QString& billID) const {
    return BoundSql(" and expert.specialtyClass = ?", {specialtyClass}) + notYetDrawn(billID);
}

BoundSql CandidateRules::byIndustry(const QString& industry, const QString& billID) const {
    return BoundSql(" and expert.specialty = ?", {industry.trimmed()}) + notYetDrawn(billID);
}

BoundSql CandidateRules::bySpecialty(int typeName, const QString& billID) const {
    return BoundSql(" and expertSpecialtyType.tid = ? ", {typeName}) + notYetDrawn(billID);
}

BoundSql CandidateRules::BuildExclusionClause(const DrawProject& project) const {
    const QString& b = project.billID;
    // The avoided units stay a "not in": an expert without an employer is
    // left out whenever the project avoids some unit, as the rule has it.
    BoundSql out(" and (expert.employer not in (SELECT bidderName FROM projectHbdw where BillID = "
                 "? and bidderName is not null))" +
                     dialect_.notAmong("expert.expertID", "he.expertID",
                                       "from ProjectHbExpert he Where he.BillID = ?"),
                 {b, b});
    out += BoundSql(dialect_.enabledCondition());
    const QString city = project.city.trimmed();
    if (!city.isEmpty())
        out += BoundSql(" and expert.city  = ? ", {city});
    if (project.gapDay > 0 && project.pbBeginDate.isValid()) {
        const Window w = recentDrawWindow(project);
        const BoundSql between = dialect_.dateTimeBetween("rp.PBBeginDate", w.from, w.to);
        out += BoundSql(dialect_.notAmong("expert.expertid", "rl.expertid",
                                          "from projectList rl inner join project rp on "
                                          "rp.BillID = rl.BillID where" +
                                              between.text()),
                        between.values());
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

CandidateRules::Demand CandidateRules::forDemandRow(const DemandRow& row,
                                                    const QString& billID) const {
    if (row.specialtyClass != kTechnical)
        return {classHead(), byClass(row.specialtyClass, billID)};
    if (!row.specialty.trimmed().isEmpty())
        return {industryHead(), byIndustry(row.specialty, billID)};
    return {specialtyHead(), bySpecialty(row.typeName.toInt(), billID)};
}

CandidateRules::Replacement CandidateRules::forTechnicalReplacement(const DrawProject& project,
                                                                    const QString& reType,
                                                                    const QString& reClass) const {
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
