#include "DrawEngine.h"

#include "AppHome.h"
#include "CandidateRules.h"
#include "Clock.h"
#include "ConfigIni.h"
#include "DMsys.h"
#include "DemandRow.h"
#include "DrawLogEntry.h"
#include "DrawProgress.h"
#include "DrawProject.h"
#include "PromptService.h"
#include "RandomSource.h"
#include "ResultRow.h"
#include "Services.h"
#include "Waiter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <vector>

namespace {

bool runQuery(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) {
    q.setForwardOnly(true);
    bool ok = q.prepare(sql);
    if (ok) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok && error)
        *error = q.lastError().text();
    return ok;
}

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

} // namespace

DrawEngine::DrawEngine(const TSysDM& dm) : dm_(dm) {}

bool DrawEngine::hasDemand(const QString& billID, bool* has, QString* error) {
    QSqlQuery q(dm_.ADOCon());
    if (!runQuery(q, "SELECT * FROM ProjectSpeciality where billID = ?", {billID}, error))
        return false;
    *has = q.next();
    return true;
}

bool DrawEngine::runDraw(const QString& billID, QString* error) {
    QSqlDatabase db = dm_.ADOCon();
    ProgressScope progress(progress_);
    Services::waiter().wait(200);

    int maximum = 5;
    {
        QSqlQuery q(db);
        if (runQuery(q,
                     "SELECT billID, Sum(num) as abc FROM ProjectSpeciality where billID = ? "
                     "group by billID",
                     {billID}, nullptr))
            maximum = q.next() ? q.value(1).toInt() : 0;
    }
    progress.setMaximum(maximum);

    std::vector<DemandRow> rows;
    {
        QSqlQuery q(db);
        if (!runQuery(q, "SELECT * FROM ProjectSpeciality where billID = ?", {billID}, error))
            return false;
        const QSqlRecord rec = q.record();
        const int fClass = rec.indexOf("specialtyClass");
        const int fType = rec.indexOf("typeName");
        const int fText = rec.indexOf("typeNameText");
        const int fSpecialty = rec.indexOf("specialty");
        const int fNum = rec.indexOf("num");
        while (q.next())
            rows.push_back({q.value(fClass).toString(), q.value(fType), q.value(fText).toString(),
                            q.value(fSpecialty).toString(), q.value(fNum).toInt()});
    }

    DrawProject project;
    if (!DrawProject::OpenProject(db, billID, &project, error))
        return false;
    const BoundSql exclusion = CandidateRules::BuildExclusionClause(project, dm_.dialect());

    for (size_t i = 0; i < rows.size(); ++i) {
        const DemandRow& d = rows[i];
        const CandidateRules::Demand demand = CandidateRules::forDemandRow(d, billID);
        if (!typeSeek_.open(db, CandidateRules::fullQuery(demand.head, demand.clause, exclusion),
                            error))
            return false;
        const QString label = demandLabel(static_cast<int>(i) + 1, d);
        for (int n = 0; n < d.num; ++n) {
            bool drawn = false;
            if (!pickForDemandRow(d, label, project, &drawn, error))
                return false;
            if (drawn)
                Services::waiter().wait(kPacingMs);
            progress.step();
        }
    }
    return true;
}

bool DrawEngine::pickForDemandRow(const DemandRow& d, const QString& label,
                                  const DrawProject& project, bool* drawn, QString* error) {
    *drawn = false;
    CandidatePool& pool = typeSeek_;
    if (pool.isEmpty())
        return true;
    std::optional<int> taken = pool.firstDesignated();
    std::optional<int> randomIndex;
    if (!taken) {
        randomIndex = pool.randomIndex(Services::random());
        if (project.num3 > 0) {
            for (;;) {
                int count = 0;
                const Candidate& c = pool.at(*randomIndex);
                if (!countEmployerRows(project.billID, c, &count, error))
                    return false;
                if (count < project.num3)
                    break;
                pool.removeEmployer(QString(c.employer), c.employerIsNull);
                if (pool.isEmpty())
                    return true;
                randomIndex = pool.randomIndex(Services::random());
            }
        }
        taken = randomIndex;
    }
    ResultRow row;
    row.billID = project.billID;
    row.expert = pool.at(*taken);
    row.specialtyClass = d.specialtyClass;
    row.icno = d.typeNameText;
    row.reType = QString::number(d.typeName.toInt());
    row.reClass = d.specialty;
    if (!commitPick(row, DrawKind::Initial, label, &pool, randomIndex, error))
        return false;
    pool.removeAt(*taken);
    *drawn = true;
    return true;
}

bool DrawEngine::countEmployerRows(const QString& billID, const Candidate& c, int* count,
                                   QString* error) {
    QSqlQuery q(dm_.ADOCon());
    const QVariant employer =
        c.employerIsNull ? QVariant(QMetaType::fromType<QString>()) : QVariant(c.employer);
    if (!runQuery(q, "Select COUNT(*) from ProjectList where billid = ? and employer = ?",
                  {billID, employer}, error))
        return false;
    *count = q.next() ? q.value(0).toInt() : 0;
    return true;
}

bool DrawEngine::commitPick(const ResultRow& row, DrawKind kind, const QString& label,
                            const CandidatePool* pool, std::optional<int> randomIndex,
                            QString* error) {
    QSqlDatabase db = dm_.ADOCon();
    DrawLogEntry entry;
    entry.drawTime = Services::clock().now();
    entry.userName = dm_.currentUser();
    entry.billID = row.billID;
    entry.kind = kind;
    entry.demandRow = label;
    if (pool)
        entry.describePool(*pool);
    entry.randomIndex = randomIndex;
    entry.expertID = row.expert.expertID;
    // Without an open transaction of its own (the caller may hold one) the two
    // rows are still written, one after the other.
    const bool own = db.transaction();
    if (!row.append(db, error) || !entry.append(db, error)) {
        if (own)
            db.rollback();
        return false;
    }
    if (own && !db.commit()) {
        if (error)
            *error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

bool DrawEngine::drawReplacement(const QString& mobile, const QString& billID, QString* result,
                                 QString* error) {
    result->clear();
    if (!ConfigIni::readBool("COMSET", "AutoBC", false))
        return true;
    QSqlDatabase db = dm_.ADOCon();
    QString cls, icno, reType, reClass, declinedID;
    {
        QSqlQuery q(db);
        if (!runQuery(q, "Select * from ProJectlist where Mobile = ? and billid = ?",
                      {mobile, billID}, error))
            return false;
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
        return true;

    DrawProject project;
    if (!DrawProject::OpenProject(db, billID, &project, error))
        return false;
    BoundSql head, clause;
    QString usedType, usedClass;
    if (cls == CandidateRules::kTechnical) {
        const auto rule = CandidateRules::forTechnicalReplacement(project, reType, reClass);
        if (!rule.valid) {
            if (error)
                *error = QStringLiteral("评标专业编号无效：%1").arg(reType);
            return false;
        }
        head = rule.head;
        clause = rule.clause;
        usedType = rule.reType;
        usedClass = rule.reClass;
    } else {
        head = CandidateRules::classHead();
        if (project.num3 > 0)
            head += CandidateRules::capClause(billID, project.num3);
        clause = CandidateRules::byClass(cls, billID);
    }
    const BoundSql exclusion = CandidateRules::BuildExclusionClause(project, dm_.dialect());
    if (!bc_.open(db, CandidateRules::fullQuery(head, clause, exclusion), error))
        return false;

    *result = kShortOfExperts;
    bool ok = true;
    if (!bc_.isEmpty()) {
        QSqlQuery q(db);
        ok = runQuery(q, "Select COUNT(*) from ProjectList where billid = ?", {billID}, error);
        if (ok && q.next() && q.value(0).toInt() > 0) {
            const int k = bc_.randomIndex(Services::random());
            ResultRow row;
            row.billID = billID;
            row.expert = bc_.at(k);
            row.specialtyClass = cls;
            row.sms = ResultRow::kAutomaticReplacement;
            row.icno = icno;
            row.reType = usedType;
            row.reClass = usedClass;
            ok = commitPick(row, DrawKind::Replacement,
                            QStringLiteral("%1 %2").arg(declinedID, mobile), &bc_, k, error);
            if (ok)
                *result = row.expert.mobile;
        }
    }
    bc_.close();
    if (!ok)
        result->clear();
    return ok;
}

bool DrawEngine::openClassPool(const QString& billID, const QString& specialtyClass) {
    return openManualPool(billID, specialtyClass, std::nullopt, kClassPoolLog);
}

bool DrawEngine::openSpecialtyPool(const QString& billID, const QString& typeName) {
    bool isNumber = false;
    const int t = typeName.trimmed().toInt(&isNumber);
    return openManualPool(billID, QString(), isNumber ? std::optional<int>(t) : std::nullopt,
                          kSpecialtyPoolLog);
}

bool DrawEngine::openManualPool(const QString& billID, const QString& specialtyClass,
                                std::optional<int> typeName, const QString& logFile) {
    const bool bySpecialty = logFile == kSpecialtyPoolLog;
    QSqlDatabase db = dm_.ADOCon();
    QString error;
    DrawProject project;
    bool ok = DrawProject::OpenProject(db, billID, &project, &error);
    const BoundSql head =
        bySpecialty ? CandidateRules::specialtyHead() : CandidateRules::classHead();
    const BoundSql clause = bySpecialty ? CandidateRules::bySpecialty(typeName.value_or(0), billID)
                                        : CandidateRules::byClass(specialtyClass, billID);
    const BoundSql full = CandidateRules::fullQuery(
        head, clause, CandidateRules::BuildExclusionClause(project, dm_.dialect()));
    if (ok && bySpecialty && !typeName) {
        ok = false;
        error = QStringLiteral("not a specialty number");
    }
    ok = ok && typeSeek_.open(db, full, &error);
    if (ok)
        return true;
    typeSeek_.close();
    const QString path = AppHome::path(logFile);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        f.write((full.displayText() + "\n-- " + error + "\n").toUtf8());
    const QString name = QFileInfo(logFile).fileName();
    Services::prompt().error(
        QStringLiteral("系统发生严重错误，请将log文件夹下%1传给软件供应商为您解决问题").arg(name));
    return false;
}

int DrawEngine::moveToRandomCandidate() {
    if (typeSeek_.isEmpty())
        return -1;
    typeSeek_.setCurrentIndex(typeSeek_.randomIndex(Services::random()));
    return typeSeek_.currentIndex();
}

bool DrawEngine::recordManualPick(const QString& billID, const QString& label, QString* error) {
    const Candidate* c = typeSeek_.current();
    if (!c) {
        if (error)
            *error = QStringLiteral("no candidate under the cursor");
        return false;
    }
    DrawLogEntry entry;
    entry.drawTime = Services::clock().now();
    entry.userName = dm_.currentUser();
    entry.billID = billID;
    entry.kind = DrawKind::Manual;
    entry.demandRow = label;
    entry.describePool(typeSeek_);
    entry.randomIndex = typeSeek_.currentIndex();
    entry.expertID = c->expertID;
    return entry.append(dm_.ADOCon(), error);
}

bool DrawEngine::recordEmergencyPick(const QString& billID, const QString& expertID,
                                     QString* error) {
    DrawLogEntry entry;
    entry.drawTime = Services::clock().now();
    entry.userName = dm_.currentUser();
    entry.billID = billID;
    entry.kind = DrawKind::Emergency;
    entry.demandRow = QStringLiteral("应急指定抽取");
    entry.expertID = expertID;
    return entry.append(dm_.ADOCon(), error);
}
