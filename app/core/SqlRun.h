#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// Prepares sql on q, binds the values in order and runs it. False with the
// driver's reason, followed by the SQL text, in error.
bool RunBound(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error);

// Ends a transaction: commits when ok, else rolls back. False when the work
// failed or the commit did; error keeps the first reason.
bool FinishTransaction(QSqlDatabase& db, bool ok, QString* error);
