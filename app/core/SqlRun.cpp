#include "SqlRun.h"

#include <QSqlError>

bool RunBound(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) {
    if (q.prepare(sql))
        return RunPrepared(q, values, error);
    if (error)
        *error = q.lastError().text() + "\n" + sql;
    return false;
}

bool RunBound(QSqlQuery& q, const BoundSql& sql, QString* error) {
    return RunBound(q, sql.text(), sql.values(), error);
}

bool PrepareOnce(std::unique_ptr<QSqlQuery>& q, const QSqlDatabase& db, const QString& sql,
                 QString* error) {
    if (q)
        return true;
    q = std::make_unique<QSqlQuery>(db);
    q->setForwardOnly(true);
    if (q->prepare(sql))
        return true;
    if (error)
        *error = q->lastError().text() + "\n" + sql;
    q.reset();
    return false;
}

bool RunPrepared(QSqlQuery& q, const QVariantList& values, QString* error) {
    for (qsizetype i = 0; i < values.size(); ++i)
        q.bindValue(static_cast<int>(i), values[i]);
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text() + "\n" + q.lastQuery();
    return false;
}

bool BeginTransaction(QSqlDatabase& db, QString* error) {
    if (db.transaction())
        return true;
    if (error)
        *error = db.lastError().text();
    return false;
}

bool FinishTransaction(QSqlDatabase& db, bool ok, QString* error) {
    if (!ok) {
        db.rollback();
        return false;
    }
    if (db.commit())
        return true;
    if (error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

QVariant nullText() {
    return QVariant(QMetaType::fromType<QString>());
}

QVariant nullInt() {
    return QVariant(QMetaType::fromType<int>());
}

QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}
