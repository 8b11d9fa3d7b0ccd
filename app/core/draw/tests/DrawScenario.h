#pragma once

#include "DbEngine.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

// A fresh database on one engine with helpers that write the rows a draw
// reads, so each test states only what matters to it.
class DrawScenario {
public:
    struct Expert {
        QString id = {};
        QString cls = QStringLiteral("技术类");
        QString industry = QStringLiteral("建筑");
        QVariant employer = {}; // invalid: a unit named after the expert
        QString city = QStringLiteral("南京");
        bool enabled = true;
        int ischeck = 0;
        QList<int> specialties = {};
    };

    explicit DrawScenario(DbEngine engine);
    bool ok() const { return db_->ok(); }
    QString error() const { return db_->error(); }
    TestDatabase& db() { return *db_; }

    void expert(const Expert& e);
    void project(const QString& bill, const QDateTime& evaluation, int gapDay = 0, int num3 = 0,
                 const QString& city = {}, const QVariant& typeName = {},
                 const QString& specialty = {});
    void demand(const QString& bill, const QString& cls, const QVariant& typeName,
                const QString& typeNameText, const QString& specialty, int num);
    void avoidUnit(const QString& bill, const QString& unit);
    void avoidExpert(const QString& bill, const QString& expertID);
    // A result row for the expert, as an earlier draw would have written it.
    void drawn(const QString& bill, const QString& expertID, const QString& cls = "技术类",
               const QString& reType = {}, const QString& reClass = {}, const QString& icno = {});
    void setAutoReplacement(bool on);

    // expertIDs of the project's result rows, in the order they were written.
    QStringList resultIDs(const QString& bill);
    QStringList resultColumn(const QString& bill, const QString& column);
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    // Statements the engines refuse to prepare (DDL), run as they stand.
    bool execDirect(const QString& sql);

    static QString mobileOf(const QString& expertID) { return "139" + expertID; }

private:
    std::unique_ptr<TestDatabase> db_;
};
