#include "SchemaInstaller.h"

#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Table name -> column names, both lower case, from the CREATE TABLE
// statements of one engine's schema.
QMap<QString, QStringList> tablesOf(DbEngine engine) {
    QMap<QString, QStringList> out;
    static const QRegularExpression create(R"(^CREATE TABLE (\w+) \((.*)\)$)",
                                           QRegularExpression::DotMatchesEverythingOption);
    for (const QString& statement : SchemaInstaller::statements(engine)) {
        const auto m = create.match(statement.trimmed());
        if (!m.hasMatch())
            continue;
        QStringList columns;
        for (const QString& line : m.captured(2).split('\n')) {
            const QString column = line.trimmed().section(' ', 0, 0).toLower();
            if (!column.isEmpty() && column != "primary")
                columns << column;
        }
        out.insert(m.captured(1).toLower(), columns);
    }
    return out;
}

QString joined(DbEngine engine) {
    return SchemaInstaller::statements(engine).join('\n');
}

} // namespace

TEST(SchemaParity, EveryEngineDeclaresTheSameTablesAndColumns) {
    const auto sqlite = tablesOf(DbEngine::Sqlite);
    ASSERT_GE(sqlite.size(), 20);
    for (DbEngine engine : {DbEngine::Postgres, DbEngine::SqlServer}) {
        auto other = tablesOf(engine);
        // The server's guard table only exists to stop TRUNCATE.
        other.remove("drawauditguard");
        EXPECT_EQ(other.keys(), sqlite.keys()) << SchemaInstaller::resourceOf(engine).toStdString();
        for (auto it = sqlite.begin(); it != sqlite.end(); ++it)
            EXPECT_EQ(other.value(it.key()), it.value())
                << it.key().toStdString() << " in "
                << SchemaInstaller::resourceOf(engine).toStdString();
    }
}

TEST(SchemaParity, EveryEngineProtectsTheAuditTrailAndStartsItsChain) {
    const QString genesis = QString(64, '0');
    for (DbEngine engine : {DbEngine::Sqlite, DbEngine::Postgres, DbEngine::SqlServer}) {
        const QString text = joined(engine);
        const std::string name = SchemaInstaller::resourceOf(engine).toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression(R"(TRIGGER \w+ .*ON DrawLog)"))) << name;
        EXPECT_TRUE(text.contains(QRegularExpression(R"(TRIGGER \w+ .*ON DrawPool)"))) << name;
        EXPECT_TRUE(text.contains(QRegularExpression(R"(TRIGGER \w+ .*ON DrawLogHead)"))) << name;
        EXPECT_TRUE(text.contains("INSERT INTO DrawLogHead (id, lastId, headHash) VALUES (1, 0, '" +
                                  genesis + "')"))
            << name;
        EXPECT_TRUE(text.contains("CREATE VIEW ClassRoot2")) << name;
    }
    EXPECT_TRUE(joined(DbEngine::SqlServer).contains("REFERENCES DrawLog (id)"))
        << "TRUNCATE on the server is stopped by a foreign key";
}
