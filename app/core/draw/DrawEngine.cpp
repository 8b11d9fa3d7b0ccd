#include "DrawEngine.h"

#include "AppHome.h"
#include "CandidateRules.h"
#include "CanonicalRecord.h"
#include "Clock.h"
#include "ConfigIni.h"
#include "DbContext.h"
#include "DemandRow.h"
#include "DrawProgress.h"
#include "DrawProject.h"
#include "PickWriter.h"
#include "PoolSnapshot.h"
#include "RandomSource.h"
#include "ResultRow.h"
#include "Services.h"
#include "SqlRun.h"
#include "Waiter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The progress window is closed however the draw ends.
class ProgressScope {
public:
    explicit ProgressScope(DrawProgress* p) : p_(p) {
        if (p_)
            p_->begin();
    }
    ~ProgressScope() {
        if (p_)
            p_->end();
    }
    void setMaximum(int m) {
        if (p_)
            p_->setMaximum(m);
    }
    void step() {
        if (p_)
            p_->step();
    }

private:
    DrawProgress* p_;
};

QString demandLabel(int position, const DemandRow& d) {
    QString what = d.typeNameText;
    if (!d.specialty.trimmed().isEmpty())
        what = d.specialty.trimmed();
    return QStringLiteral("%1 %2 %3").arg(position).arg(d.specialtyClass, what).trimmed();
}

// The rule inputs a pool was built under, for its stored snapshot.
QString rulesText(const DrawProject& p, const CandidatePool& pool,
                  const QList<std::pair<const char*, QString>>& demand) {
    CanonicalRecord r;
    for (const auto& [name, value] : demand)
        r.addText(name, value);
    r.addText("city", p.city.trimmed()).add("gapDay", p.gapDay);
    if (p.gapDay > 0 && p.pbBeginDate.isValid()) {
        const auto w = CandidateRules::recentDrawWindow(p);
        r.addTime("windowFrom", w.from).addTime("windowTo", w.to);
    }
    r.add("cap", p.num3)
        .addList("avoidedUnits", p.avoidedUnits)
        .addList("avoidedExperts", p.avoidedExperts)
        .addText("query", pool.sql().displayText());
    return QString::fromUtf8(r.text());
}

QString typeNameText(const QVariant& typeName) {
    return typeName.isNull() ? QString() : QString::number(typeName.toInt());
}

// Candidates whose mobile number is already in the project's result leave the
// pool, each with an audit row that shows the pool it was taken from.
void leaveOutDuplicates(CandidatePool& pool, const QSet<QString>& mobiles, const DrawLogEntry& base,
                        std::vector<DrawLogEntry>* rows) {
    DrawLogEntry before = base;
    before.outcome = drawOutcomeText(DrawOutcome::DuplicateMobile);
    before.describePool(pool);
    for (const Candidate& c : pool.removeMobiles(mobiles)) {
        DrawLogEntry e = before;
        e.expertID = c.expertID;
        e.note = c.mobileKey;
        rows->push_back(std::move(e));
    }
}

} // namespace

// Marks the engine busy for the length of one operation.
class DrawEngine::BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }

private:
    bool& busy_;
};

DrawEngine::DrawEngine(const DbContext& db) : db_(db) {}
DrawEngine::~DrawEngine() = default;

QString DrawEngine::checkAuditTables() {
    const QList<std::pair<QString, QStringList>> needed{
        {"DrawLog", QStringList{"id"} + DrawLogEntry::columns()},
        {"DrawPool", QStringList{"id"} + PoolSnapshot::columns()},
        {"DrawLogHead", {"id", "lastId", "headHash"}},
        {"ProjectSpeciality", {"id"}}};
    QStringList missing;
    for (const auto& [table, columns] : needed) {
        QSqlQuery q(db_.connection());
        if (!q.exec("SELECT " + columns.join(", ") + " FROM " + table + " WHERE 1=0"))
            missing << table;
    }
    missingAuditTables_ = missing.join(QStringLiteral("、"));
    auditChecked_ = true;
    return missingAuditTables_;
}

QString DrawEngine::missingAuditTablesMessage(const QString& missing) {
    return QStringLiteral("数据库缺少抽取记录所需的表或列（%1），不能进行专家抽取。"
                          "请按 panelpick-initdb 建立的数据库结构补齐后再抽取。")
        .arg(missing);
}

std::optional<DrawEngine::Outcome> DrawEngine::refusal() {
    if (busy_)
        return Outcome{Status::Refused, kBusy};
    if (!auditChecked_)
        checkAuditTables();
    if (!missingAuditTables_.isEmpty())
        return Outcome{Status::Refused, missingAuditTablesMessage(missingAuditTables_)};
    return std::nullopt;
}

DrawLogEntry DrawEngine::entryFor(const QString& billID, DrawKind kind, DrawOutcome outcome) const {
    DrawLogEntry e;
    e.drawTime = Services::clock().now();
    e.userName = db_.currentUser();
    e.billID = billID;
    e.kind = drawKindText(kind);
    e.outcome = drawOutcomeText(outcome);
    return e;
}

DrawEngine::Outcome DrawEngine::hasDemand(const QString& billID, bool* has) {
    QSqlQuery q(db_.connection());
    q.setForwardOnly(true);
    QString error;
    if (!RunBound(q, "SELECT * FROM ProjectSpeciality where billID = ?", {billID}, &error))
        return {Status::Failed, error};
    *has = q.next();
    return {};
}

DrawEngine::Outcome DrawEngine::runDraw(const QString& billID) {
    if (auto refused = refusal())
        return *refused;
    BusyScope busy(busy_);
    QSqlDatabase db = db_.connection();
    ProgressScope progress(progress_);
    Services::waiter().wait(200);

    int maximum = 5;
    {
        QSqlQuery q(db);
        if (RunBound(q,
                     "SELECT billID, Sum(num) as abc FROM ProjectSpeciality where billID = ? "
                     "group by billID",
                     {billID}, nullptr))
            maximum = q.next() ? q.value(1).toInt() : 0;
    }
    progress.setMaximum(maximum);

    QString error;
    std::vector<DemandRow> rows;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!RunBound(q, "SELECT * FROM ProjectSpeciality where billID = ? order by id", {billID},
                      &error))
            return {Status::Failed, error};
        const QSqlRecord rec = q.record();
        const int fId = rec.indexOf("id");
        const int fClass = rec.indexOf("specialtyClass");
        const int fType = rec.indexOf("typeName");
        const int fText = rec.indexOf("typeNameText");
        const int fSpecialty = rec.indexOf("specialty");
        const int fNum = rec.indexOf("num");
        while (q.next())
            rows.push_back({q.value(fId).toLongLong(), q.value(fClass).toString(), q.value(fType),
                            q.value(fText).toString(), q.value(fSpecialty).toString(),
                            q.value(fNum).toInt()});
    }

    DrawProject project;
    if (!DrawProject::OpenProject(db, billID, &project, &error))
        return {Status::Failed, error};
    const CandidateRules rulesOf(db_.dialect());
    const BoundSql exclusion = rulesOf.BuildExclusionClause(project);

    PickWriter writer(db_);
    for (size_t i = 0; i < rows.size(); ++i) {
        const DemandRow& d = rows[i];
        const CandidateRules::Demand demand = rulesOf.forDemandRow(d, billID);
        if (!typeSeek_.open(db, CandidateRules::fullQuery(demand.head, demand.clause, exclusion),
                            &error))
            return {Status::Failed, error};
        const QString rules = rulesText(project, typeSeek_,
                                        {{"class", d.specialtyClass},
                                         {"typeName", typeNameText(d.typeName)},
                                         {"industry", d.specialty.trimmed()}});
        const QString label = demandLabel(static_cast<int>(i) + 1, d);
        for (int n = 0; n < d.num; ++n) {
            bool drawn = false;
            if (!pickForDemandRow(writer, d, label, project, rules, &drawn, &error))
                return {Status::Failed, error};
            if (drawn)
                Services::waiter().wait(kPacingMs);
            progress.step();
        }
    }
    return {};
}

bool DrawEngine::pickForDemandRow(PickWriter& writer, const DemandRow& d, const QString& label,
                                  const DrawProject& project, const QString& rules, bool* drawn,
                                  QString* error) {
    *drawn = false;
    CandidatePool& pool = typeSeek_;
    PickWriter::Result result;
    bool ok = writer.begin(project.billID, &result, error) &&
              writer.writeSnapshot(pool, project.billID, drawKindText(DrawKind::Initial), d.id,
                                   rules, error);
    if (!ok)
        return writer.finish(false, error);

    DrawLogEntry base = entryFor(project.billID, DrawKind::Initial, DrawOutcome::Picked);
    base.demandRow = label;
    base.demandID = d.id;
    auto event = [&](DrawOutcome outcome) {
        DrawLogEntry e = base;
        e.outcome = drawOutcomeText(outcome);
        e.describePool(pool);
        return e;
    };
    std::vector<DrawLogEntry> rows;
    leaveOutDuplicates(pool, result.mobiles, base, &rows);

    std::optional<int> taken = pool.firstDesignated();
    std::optional<int> randomIndex;
    if (!taken && !pool.isEmpty()) {
        randomIndex = pool.randomIndex(Services::random());
        // The cap counts the employer's rows in the result, a missing
        // employer together with the empty one.
        while (project.num3 > 0 && randomIndex) {
            const Candidate& c = pool.at(*randomIndex);
            const QString employer = c.employerText();
            if (result.employers.value(employer) < project.num3)
                break;
            DrawLogEntry rejected = event(DrawOutcome::CapRejected);
            rejected.randomIndex = randomIndex;
            rejected.expertID = c.expertID;
            rejected.note = employer;
            rows.push_back(std::move(rejected));
            pool.removeEmployer(employer);
            randomIndex.reset();
            if (!pool.isEmpty())
                randomIndex = pool.randomIndex(Services::random());
        }
        taken = randomIndex;
    }
    if (taken) {
        DrawLogEntry picked = event(DrawOutcome::Picked);
        picked.randomIndex = randomIndex;
        picked.expertID = pool.at(*taken).expertID;
        rows.push_back(std::move(picked));
        ResultRow row;
        row.billID = project.billID;
        row.expert = pool.at(*taken);
        row.specialtyClass = d.specialtyClass;
        row.icno = d.typeNameText;
        row.reType = QString::number(d.typeName.toInt());
        row.reClass = d.specialty;
        ok = writer.appendResult(row, error);
    } else {
        rows.push_back(event(DrawOutcome::Nobody));
    }
    for (DrawLogEntry& e : rows)
        ok = ok && writer.appendEntry(e, error);
    if (!writer.finish(ok, error))
        return false;
    if (taken) {
        pool.removeAt(*taken);
        *drawn = true;
    }
    return true;
}

DrawEngine::Outcome DrawEngine::drawReplacement(const QString& mobile, const QString& billID,
                                                QString* result) {
    result->clear();
    if (auto refused = refusal())
        return *refused;
    if (!ConfigIni::readBool("COMSET", "AutoBC", false))
        return {};
    BusyScope busy(busy_);
    QSqlDatabase db = db_.connection();
    QString error;
    QString cls, icno, reType, reClass, declinedID;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!RunBound(q, "Select * from ProJectlist where Mobile = ? and billid = ?",
                      {mobile, billID}, &error))
            return {Status::Failed, error};
        if (q.next()) {
            const QSqlRecord rec = q.record();
            cls = q.value(rec.indexOf("specialtyClass")).toString();
            icno = q.value(rec.indexOf("ICNO")).toString();
            reType = q.value(rec.indexOf("reType")).toString();
            reClass = q.value(rec.indexOf("reClass")).toString();
            declinedID = q.value(rec.indexOf("expertID")).toString();
        }
    }
    if (cls != CandidateRules::kTechnical && cls != CandidateRules::kEconomic &&
        cls != CandidateRules::kCost)
        return {};

    DrawProject project;
    if (!DrawProject::OpenProject(db, billID, &project, &error))
        return {Status::Failed, error};
    const CandidateRules rulesOf(db_.dialect());
    BoundSql head, clause;
    QString usedType, usedClass;
    if (cls == CandidateRules::kTechnical) {
        const auto rule = rulesOf.forTechnicalReplacement(project, reType, reClass);
        if (!rule.valid)
            return {Status::Failed, QStringLiteral("评标专业编号无效：%1").arg(reType)};
        head = rule.head;
        clause = rule.clause;
        usedType = rule.reType;
        usedClass = rule.reClass;
    } else {
        head = CandidateRules::classHead();
        if (project.num3 > 0)
            head += CandidateRules::capClause(billID, project.num3);
        clause = rulesOf.byClass(cls, billID);
    }
    const BoundSql exclusion = rulesOf.BuildExclusionClause(project);
    if (!bc_.open(db, CandidateRules::fullQuery(head, clause, exclusion), &error))
        return {Status::Failed, error};
    const QString rules = rulesText(project, bc_,
                                    {{"class", cls},
                                     {"declinedExpert", declinedID},
                                     {"declinedMobile", mobile},
                                     {"typeName", usedType},
                                     {"industry", usedClass}});

    PickWriter writer(db_);
    PickWriter::Result current;
    bool ok = writer.begin(billID, &current, &error) &&
              writer.writeSnapshot(bc_, billID, drawKindText(DrawKind::Replacement), std::nullopt,
                                   rules, &error);
    DrawLogEntry base = entryFor(billID, DrawKind::Replacement, DrawOutcome::Picked);
    base.demandRow = QStringLiteral("%1 %2").arg(declinedID, mobile);
    std::vector<DrawLogEntry> rows;
    std::optional<QString> drawnMobile;
    if (ok) {
        leaveOutDuplicates(bc_, current.mobiles, base, &rows);
        DrawLogEntry e = base;
        e.describePool(bc_);
        if (bc_.isEmpty() || current.rows == 0) {
            e.outcome = drawOutcomeText(DrawOutcome::Nobody);
        } else {
            const int k = bc_.randomIndex(Services::random());
            e.randomIndex = k;
            e.expertID = bc_.at(k).expertID;
            ResultRow row;
            row.billID = billID;
            row.expert = bc_.at(k);
            row.specialtyClass = cls;
            row.sms = ResultRow::kAutomaticReplacement;
            row.icno = icno;
            row.reType = usedType;
            row.reClass = usedClass;
            ok = writer.appendResult(row, &error);
            drawnMobile = row.expert.mobileText();
        }
        rows.push_back(std::move(e));
    }
    for (DrawLogEntry& e : rows)
        ok = ok && writer.appendEntry(e, &error);
    ok = writer.finish(ok, &error);
    bc_.close();
    if (!ok)
        return {Status::Failed, error};
    *result = drawnMobile ? *drawnMobile : kShortOfExperts;
    return {};
}

DrawEngine::Outcome DrawEngine::clearResult(const QString& billID) {
    if (auto refused = refusal())
        return *refused;
    BusyScope busy(busy_);
    PickWriter writer(db_);
    QString error;
    bool ok = writer.begin(billID, nullptr, &error);
    if (ok) {
        QSqlQuery q(db_.connection());
        ok = RunBound(q, "delete from projectlist where BillID = ?", {billID}, &error);
        DrawLogEntry e = entryFor(billID, DrawKind::Redraw, DrawOutcome::Cleared);
        e.note = QString::number(ok ? q.numRowsAffected() : 0);
        ok = ok && writer.appendEntry(e, &error);
    }
    if (!writer.finish(ok, &error))
        return {Status::Failed, error};
    return {};
}

DrawEngine::Outcome DrawEngine::openClassPool(const QString& billID,
                                              const QString& specialtyClass) {
    QString message;
    if (auto refused = refusal())
        return *refused;
    if (!openManualPool(billID, specialtyClass, std::nullopt, kClassPoolLog, &message))
        return {Status::Failed, message};
    return {};
}

DrawEngine::Outcome DrawEngine::openSpecialtyPool(const QString& billID, const QString& typeName) {
    if (auto refused = refusal())
        return *refused;
    bool isNumber = false;
    const int t = typeName.trimmed().toInt(&isNumber);
    QString message;
    if (!openManualPool(billID, QString(), isNumber ? std::optional<int>(t) : std::nullopt,
                        kSpecialtyPoolLog, &message))
        return {Status::Failed, message};
    return {};
}

bool DrawEngine::openManualPool(const QString& billID, const QString& specialtyClass,
                                std::optional<int> typeName, const QString& logFile,
                                QString* message) {
    BusyScope busy(busy_);
    const bool bySpecialty = logFile == kSpecialtyPoolLog;
    QSqlDatabase db = db_.connection();
    manualPending_.clear();
    QString error;
    DrawProject project;
    bool ok = DrawProject::OpenProject(db, billID, &project, &error);
    const CandidateRules rulesOf(db_.dialect());
    const BoundSql head =
        bySpecialty ? CandidateRules::specialtyHead() : CandidateRules::classHead();
    const BoundSql clause = bySpecialty ? rulesOf.bySpecialty(typeName.value_or(0), billID)
                                        : rulesOf.byClass(specialtyClass, billID);
    const BoundSql full =
        CandidateRules::fullQuery(head, clause, rulesOf.BuildExclusionClause(project));
    if (ok && bySpecialty && !typeName) {
        ok = false;
        error = QStringLiteral("not a specialty number");
    }
    PickWriter::Result result;
    ok = ok && typeSeek_.open(db, full, &error) &&
         PickWriter::readResult(db_, billID, &result, &error);
    if (ok) {
        manualRules_ = rulesText(project, typeSeek_,
                                 {{"class", specialtyClass},
                                  {"typeName", typeName ? QString::number(*typeName) : QString()}});
        leaveOutDuplicates(typeSeek_, result.mobiles,
                           entryFor(billID, DrawKind::Manual, DrawOutcome::DuplicateMobile),
                           &manualPending_);
        return true;
    }
    typeSeek_.close();
    const QString path = AppHome::path(logFile);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        f.write((full.displayText() + "\n-- " + error + "\n").toUtf8());
    const QString name = QFileInfo(logFile).fileName();
    *message =
        QStringLiteral("系统发生严重错误，请将log文件夹下%1传给软件供应商为您解决问题").arg(name);
    return false;
}

int DrawEngine::moveToRandomCandidate() {
    if (busy_ || typeSeek_.isEmpty())
        return -1;
    typeSeek_.setCurrentIndex(typeSeek_.randomIndex(Services::random()));
    return typeSeek_.currentIndex();
}

void DrawEngine::removeCurrentCandidate() {
    if (busy_)
        return;
    typeSeek_.removeCurrent();
    // After a manual pick, whoever else in the pool has the picked expert's
    // number is no longer eligible; the next recorded pick logs them.
    const QString mobile = std::exchange(manualPickedMobile_, QString());
    if (mobile.isEmpty())
        return;
    DrawLogEntry base = entryFor(manualBill_, DrawKind::Manual, DrawOutcome::DuplicateMobile);
    base.demandRow = manualLabel_;
    leaveOutDuplicates(typeSeek_, {mobile}, base, &manualPending_);
}

DrawEngine::Outcome DrawEngine::recordManualPick(const QString& billID, const QString& label) {
    if (auto refused = refusal())
        return *refused;
    const Candidate* c = typeSeek_.current();
    if (!c)
        return {Status::Failed, QStringLiteral("no candidate under the cursor")};
    BusyScope busy(busy_);
    const Candidate picked = *c;
    PickWriter writer(db_);
    QString error;
    bool ok = writer.begin(billID, nullptr, &error) &&
              writer.writeSnapshot(typeSeek_, billID, drawKindText(DrawKind::Manual), std::nullopt,
                                   manualRules_, &error);
    std::vector<DrawLogEntry> rows;
    for (DrawLogEntry e : manualPending_) {
        e.poolID = typeSeek_.snapshotRow();
        e.poolSnapshotHash = typeSeek_.snapshotHash();
        e.demandRow = label;
        rows.push_back(std::move(e));
    }
    DrawLogEntry e = entryFor(billID, DrawKind::Manual, DrawOutcome::Picked);
    e.demandRow = label;
    e.describePool(typeSeek_);
    e.randomIndex = typeSeek_.currentIndex();
    e.expertID = picked.expertID;
    rows.push_back(std::move(e));
    for (DrawLogEntry& row : rows)
        ok = ok && writer.appendEntry(row, &error);
    if (!writer.finish(ok, &error))
        return {Status::Failed, error};
    manualPending_.clear();
    manualPickedMobile_ = picked.mobileKey;
    manualLabel_ = label;
    manualBill_ = billID;
    return {};
}

DrawEngine::Outcome DrawEngine::recordEmergencyPick(const QString& billID,
                                                    const QString& expertID) {
    if (auto refused = refusal())
        return *refused;
    BusyScope busy(busy_);
    PickWriter writer(db_);
    QString error;
    bool ok = writer.begin(billID, nullptr, &error);
    DrawLogEntry e = entryFor(billID, DrawKind::Emergency, DrawOutcome::Picked);
    e.demandRow = QStringLiteral("应急指定抽取");
    e.expertID = expertID;
    ok = ok && writer.appendEntry(e, &error);
    if (!writer.finish(ok, &error))
        return {Status::Failed, error};
    return {};
}
