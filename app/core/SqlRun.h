#pragma once

#include "BoundSql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

// Prepares sql on q, binds the values in order and runs it. False with the
// driver's reason, followed by the SQL text, in error.
bool RunBound(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error);
bool RunBound(QSqlQuery& q, const BoundSql& sql, QString* error);
// A statement run many times, prepared on its first use: q is created on db
// and prepared when empty, and left empty when the preparation fails.
bool PrepareOnce(std::unique_ptr<QSqlQuery>& q, const QSqlDatabase& db, const QString& sql,
                 QString* error);
// Binds the values to a statement q has already prepared (a statement run
// many times in a loop is prepared once) and runs it.
bool RunPrepared(QSqlQuery& q, const QVariantList& values, QString* error);

// Starts a transaction; false with the driver's reason.
bool BeginTransaction(QSqlDatabase& db, QString* error);
// Ends a transaction: commits when ok, else rolls back. False when the work
// failed or the commit did; error keeps the first reason.
bool FinishTransaction(QSqlDatabase& db, bool ok, QString* error);

// A null value of the column kind text or integer, for binding.
QVariant nullText();
QVariant nullInt();
// The text as a bound value that is never NULL: an empty text stays empty.
QVariant textValue(const QString& text);
