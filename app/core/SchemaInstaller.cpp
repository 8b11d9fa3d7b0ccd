#include "SchemaInstaller.h"

#include "PasswordHash.h"
#include "PinyinInitials.h"

#include <QDate>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QStringList statementsOf(const QString& script) {
    QStringList out;
    QString current;
    for (const QString& line : script.split('\n')) {
        const QString t = line.trimmed();
        if (t.startsWith("--") || (t.isEmpty() && current.isEmpty()))
            continue;
        current += line + '\n';
        if (t.endsWith(';')) {
            current = current.trimmed();
            current.chop(1);
            out << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

bool exec(QSqlQuery& q, const QString& sql, QString* error) {
    if (q.exec(sql))
        return true;
    if (error)
        *error = q.lastError().text() + "\n" + sql;
    return false;
}

bool execBound(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error) {
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        if (error)
            *error = q.lastError().text() + "\n" + sql;
        return false;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text() + "\n" + sql;
        return false;
    }
    return true;
}

} // namespace

bool SchemaInstaller::install(QSqlDatabase& db, DbEngine engine, QString* error) {
    const QString resource =
        engine == DbEngine::Postgres ? ":/schema/postgres.sql" : ":/schema/sqlite.sql";
    if (engine == DbEngine::SqlServer) {
        if (error)
            *error = "creating a SQL Server database is not supported; create it with the server's "
                     "tools";
        return false;
    }
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = "schema resource missing: " + resource;
        return false;
    }
    const QStringList statements = statementsOf(QString::fromUtf8(f.readAll()));
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    for (const QString& sql : statements) {
        if (!exec(q, sql, error)) {
            db.rollback();
            return false;
        }
    }
    if (!execBound(
            db,
            "INSERT INTO UserName (UserName, PassWord, ChkUserM, ChkProjectTouch, "
            "chkProjectM, chkExcept, chkBase, chkShow, ICNO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {kAdminUser, ScramblePassword(kAdminUser, kAdminInitialPassword), true, true, true,
             true, true, true, QString()},
            error)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}

bool SchemaInstaller::installDemoData(QSqlDatabase& db, QString* error) {
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    auto run = [&](const QString& sql, const QVariantList& values) {
        return execBound(db, sql, values, error);
    };
    bool ok = true;
    const QList<std::pair<int, QString>> roots{{1, "工程建设"}, {2, "政府采购"}};
    for (const auto& [id, name] : roots)
        ok = ok && run("INSERT INTO SpecialityClass (pr_ID, Pr_parent, pr_name, pr_code, pr_info) "
                       "VALUES (?, NULL, ?, ?, '')",
                       {id, name, QString::number(id)});
    const QList<std::tuple<int, int, QString>> children{{11, 1, "房屋建筑"},
                                                        {12, 1, "市政工程"},
                                                        {13, 1, "水利工程"},
                                                        {21, 2, "信息技术"},
                                                        {22, 2, "医疗设备"}};
    for (const auto& [id, parent, name] : children)
        ok = ok && run("INSERT INTO SpecialityClass (pr_ID, Pr_parent, pr_name, pr_code, pr_info) "
                       "VALUES (?, ?, ?, ?, '')",
                       {id, parent, name, QString::number(id)});
    const QStringList industries{"建筑", "市政", "水利", "信息", "医疗", "财务"};
    for (int i = 0; i < industries.size(); ++i)
        ok = ok && run("INSERT INTO specialty (specialtyName, specialtyNameNO) VALUES (?, ?)",
                       {industries[i], QStringLiteral("%1").arg(i + 1, 4, 10, QChar('0'))});
    for (const QString& city :
         {QStringLiteral("南京"), QStringLiteral("苏州"), QStringLiteral("无锡")})
        ok = ok && run("INSERT INTO City (city) VALUES (?)", {city});
    const QStringList surnames{"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
    const QStringList given{"建国", "海燕", "志强", "丽华", "文杰", "秀英", "国平", "晓东"};
    const QStringList employers{"省建筑设计院", "市政工程公司", "水利勘测院",
                                "信息中心",     "人民医院",     "会计师事务所"};
    const QStringList classes{"技术类", "经济类", "造价类"};
    const QList<int> specialties{11, 12, 13, 21, 22};
    for (int n = 0; n < 40; ++n) {
        const QString id = QStringLiteral("%1").arg(n + 1, 4, 10, QChar('0'));
        const QString name = surnames[n % surnames.size()] + given[(n / 3) % given.size()];
        const QString cls = classes[n % 5 == 3 ? 1 : n % 5 == 4 ? 2 : 0];
        ok = ok && run("INSERT INTO expert (expertID, expertName, PY, sex, birthday, Employer, "
                       "Mobile, TEL, specialty, specialtyClass, City, enabled, ischeck) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)",
                       {id, name, PinyinInitials(name), n % 2 ? "女" : "男",
                        QDateTime(QDate(1960 + n % 30, 1 + n % 12, 1 + n % 28), QTime(0, 0)),
                        employers[n % employers.size()],
                        QStringLiteral("139%1").arg(10000000 + n * 7919, 8, 10, QChar('0')),
                        QStringLiteral("025-8%1").arg(1000000 + n, 7, 10, QChar('0')),
                        industries[n % industries.size()], cls,
                        n % 3 == 0   ? "南京"
                        : n % 3 == 1 ? "苏州"
                                     : "无锡",
                        true});
        if (cls == "技术类")
            ok = ok && run("INSERT INTO expertSpecialtyType (eid, tid) VALUES (?, ?)",
                           {id, specialties[n % specialties.size()]});
    }
    if (!ok) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}
