#include "CandidatePool.h"

#include "RandomSource.h"

#include <QCryptographicHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

bool CandidatePool::open(QSqlDatabase db, const BoundSql& sql, QString* error) {
    close();
    sql_ = sql;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool ok = q.prepare(sql.text());
    if (ok) {
        for (const QVariant& v : sql.values())
            q.addBindValue(v);
        ok = q.exec();
    }
    if (!ok) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    const QSqlRecord rec = q.record();
    const int fId = rec.indexOf("expertID");
    const int fName = rec.indexOf("expertName");
    const int fTel = rec.indexOf("TEL");
    const int fMobile = rec.indexOf("Mobile");
    const int fEmployer = rec.indexOf("Employer");
    const int fClass = rec.indexOf("specialtyClass");
    const int fCheck = rec.indexOf("ischeck");
    // An expert linked twice to the same specialty must not have two chances
    // (nor be drawn twice for one demand row).
    QSet<QString> seen;
    while (q.next()) {
        Candidate c;
        c.expertID = q.value(fId).toString();
        if (seen.contains(c.expertID))
            continue;
        seen.insert(c.expertID);
        c.expertName = q.value(fName).toString();
        c.tel = q.value(fTel).toString();
        c.mobile = q.value(fMobile).toString();
        const QVariant employer = q.value(fEmployer);
        c.employerIsNull = employer.isNull();
        c.employer = employer.toString();
        c.specialtyClass = q.value(fClass).toString();
        c.designated = q.value(fCheck).toInt() == 1;
        rows_.push_back(std::move(c));
    }
    open_ = true;
    current_ = rows_.empty() ? -1 : 0;
    return true;
}

void CandidatePool::close() {
    rows_.clear();
    current_ = -1;
    open_ = false;
}

int CandidatePool::randomIndex(RandomSource& random) const {
    return static_cast<int>(random.below(static_cast<std::uint32_t>(rows_.size())));
}

std::optional<int> CandidatePool::firstDesignated() const {
    const auto it =
        std::find_if(rows_.begin(), rows_.end(), [](const Candidate& c) { return c.designated; });
    if (it == rows_.end())
        return std::nullopt;
    return static_cast<int>(it - rows_.begin());
}

void CandidatePool::removeAt(int index) {
    if (index < 0 || index >= size())
        return;
    rows_.erase(rows_.begin() + index);
    if (current_ >= size())
        current_ = size() - 1;
}

void CandidatePool::removeEmployer(const QString& employer, bool employerIsNull) {
    if (employerIsNull)
        return;
    std::erase_if(rows_,
                  [&](const Candidate& c) { return !c.employerIsNull && c.employer == employer; });
    if (current_ >= size())
        current_ = size() - 1;
}

const Candidate* CandidatePool::current() const {
    return current_ >= 0 && current_ < size() ? &rows_[static_cast<size_t>(current_)] : nullptr;
}

void CandidatePool::setCurrentIndex(int index) {
    current_ = index >= 0 && index < size() ? index : -1;
}

void CandidatePool::removeCurrent() {
    removeAt(current_);
}

QString CandidatePool::fingerprint() const {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Candidate& c : rows_) {
        hash.addData(c.expertID.toUtf8());
        hash.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(hash.result().toHex());
}
