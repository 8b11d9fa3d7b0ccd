#include "UserStore.h"

#include "DMsys.h"
#include "PasswordHash.h"
#include "SqlRun.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

bool run(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error) {
    return RunBound(q, sql, values, error);
}

UserStore::User userOf(const QSqlQuery& q) {
    return {q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

} // namespace

const QList<QString>& UserStore::rightColumns() {
    static const QList<QString> columns{"ChkUserM",  "ChkProjectTouch", "chkProjectM",
                                        "chkExcept", "chkBase",         "chkShow"};
    return columns;
}

std::optional<UserStore::User> UserStore::find(const QString& name, QString* error) {
    QSqlQuery q(SysDM->ADOCon());
    if (!run(q, "Select UserName, PassWord, ICNO from UserName where username = ?", {name}, error))
        return std::nullopt;
    if (!q.next()) {
        if (error)
            error->clear();
        return std::nullopt;
    }
    return userOf(q);
}

bool UserStore::usersWithCard(const QString& icno, QList<User>* out, QString* error) {
    QSqlQuery q(SysDM->ADOCon());
    if (!run(q, "Select UserName, PassWord, ICNO from UserName where ICNO = ?", {icno}, error))
        return false;
    while (q.next())
        out->append(userOf(q));
    return true;
}

bool UserStore::setPassword(const QString& name, const QString& password, QString* error) {
    QSqlQuery q(SysDM->ADOCon());
    return run(q, "UPDATE UserName SET PassWord = ? WHERE UserName = ?",
               {ScramblePassword(name, password), name}, error);
}

bool UserStore::add(const QString& name, const QString& password, QString* error) {
    QSqlQuery q(SysDM->ADOCon());
    return run(q,
               "INSERT INTO UserName (UserName, PassWord, ChkUserM, ChkProjectTouch, chkProjectM, "
               "chkExcept, chkBase, chkShow, ICNO) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {name, ScramblePassword(name, password), false, false, false, false, false, false,
                QString()},
               error);
}

bool UserStore::remove(const QString& name, QString* error) {
    if (name == kAdmin) {
        if (error)
            *error = QStringLiteral("不能删除管理用户，否则您无法登录系统！");
        return false;
    }
    QSqlQuery q(SysDM->ADOCon());
    return run(q, "DELETE FROM UserName WHERE UserName = ?", {name}, error);
}
