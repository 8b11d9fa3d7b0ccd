#include "CandidatePool.h"

#include "RandomSource.h"
#include "SqlRun.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

bool CandidatePool::open(QSqlDatabase db, const BoundSql& sql, QString* error) {
    close();
    sql_ = sql;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!RunBound(q, sql, error))
        return false;
    const QSqlRecord rec = q.record();
    const int fId = rec.indexOf("expertID");
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
        // An expert without a number cannot be written into a result (and a
        // stray row of that kind compares differently on every engine).
        if (c.expertID.isEmpty() || seen.contains(c.expertID))
            continue;
        seen.insert(c.expertID);
        c.mobile = q.value(fMobile);
        c.employer = q.value(fEmployer);
        c.specialtyClass = q.value(fClass).toString();
        c.designated = q.value(fCheck).toInt() == 1;
        c.mobileKey = c.mobile.toString().trimmed();
        c.idUtf8 = c.expertID.toUtf8() + '\n';
        snapshot_ << c.expertID;
        if (c.designated)
            snapshotDesignated_ << c.expertID;
        rows_.push_back(std::move(c));
    }
    open_ = true;
    current_ = rows_.empty() ? -1 : 0;
    return true;
}

void CandidatePool::close() {
    rows_.clear();
    snapshot_.clear();
    snapshotDesignated_.clear();
    removed_.clear();
    snapshotRow_.reset();
    snapshotHash_.clear();
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

void CandidatePool::clampCurrent() {
    if (current_ >= size())
        current_ = size() - 1;
}

void CandidatePool::removeAt(int index) {
    if (index < 0 || index >= size())
        return;
    noteRemoved(rows_[static_cast<size_t>(index)]);
    rows_.erase(rows_.begin() + index);
    clampCurrent();
}

void CandidatePool::removeEmployer(const QString& employer) {
    std::erase_if(rows_, [&](const Candidate& c) {
        if (c.employerText() != employer)
            return false;
        noteRemoved(c);
        return true;
    });
    clampCurrent();
}

std::vector<Candidate> CandidatePool::removeMobiles(const QSet<QString>& mobiles) {
    std::vector<Candidate> out;
    if (mobiles.isEmpty())
        return out;
    std::erase_if(rows_, [&](const Candidate& c) {
        if (c.mobileKey.isEmpty() || !mobiles.contains(c.mobileKey))
            return false;
        noteRemoved(c);
        out.push_back(c);
        return true;
    });
    clampCurrent();
    return out;
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

QString CandidatePool::fingerprintOf(const QStringList& expertIDs) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& id : expertIDs) {
        hash.addData(id.toUtf8());
        hash.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString CandidatePool::fingerprint() const {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Candidate& c : rows_)
        hash.addData(c.idUtf8);
    return QString::fromLatin1(hash.result().toHex());
}

QStringList CandidatePool::rebuild(const QStringList& snapshot, const QStringList& removed) {
    QHash<QString, int> gone;
    for (const QString& id : removed)
        ++gone[id];
    QStringList out;
    out.reserve(snapshot.size());
    for (const QString& id : snapshot) {
        auto it = gone.find(id);
        if (it != gone.end() && it.value() > 0) {
            --it.value();
            continue;
        }
        out << id;
    }
    return out;
}
