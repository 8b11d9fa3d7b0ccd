#include "UserStore.h"

#include "DbContext.h"
#include "PasswordHash.h"
#include "SqlRun.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

UserStore::User userOf(const QSqlQuery& q) {
    return {q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

} // namespace

const QList<QString>& UserStore::rightColumns() {
    static const QList<QString> columns{"ChkUserM",  "ChkProjectTouch", "chkProjectM",
                                        "chkExcept", "chkBase",         "chkShow"};
    return columns;
}

std::optional<UserStore::User> UserStore::find(const QString& name, QString* error) const {
    QSqlQuery q(db_.connection());
    if (!RunBound(q, "Select UserName, PassWord, ICNO from UserName where username = ?", {name},
                  error))
        return std::nullopt;
    if (!q.next()) {
        if (error)
            error->clear();
        return std::nullopt;
    }
    return userOf(q);
}

bool UserStore::usersWithCard(const QString& icno, QList<User>* out, QString* error) const {
    QSqlQuery q(db_.connection());
    if (!RunBound(q, "Select UserName, PassWord, ICNO from UserName where ICNO = ?", {icno}, error))
        return false;
    while (q.next())
        out->append(userOf(q));
    return true;
}

bool UserStore::setPassword(const QString& name, const QString& password, QString* error) const {
    QSqlQuery q(db_.connection());
    if (!RunBound(q, "UPDATE UserName SET PassWord = ? WHERE UserName = ?",
                  {ScramblePassword(name, password), name}, error))
        return false;
    if (q.numRowsAffected() > 0)
        return true;
    if (error)
        *error = QStringLiteral("找不到用户“%1”，密码没有修改。").arg(name);
    return false;
}

bool UserStore::add(const QString& name, const QString& password, QString* error) const {
    QSqlQuery q(db_.connection());
    return RunBound(q,
                    "INSERT INTO UserName (UserName, PassWord, ChkUserM, ChkProjectTouch, "
                    "chkProjectM, chkExcept, chkBase, chkShow, ICNO) VALUES (?, ?, ?, ?, ?, ?, ?, "
                    "?, ?)",
                    {name, ScramblePassword(name, password), false, false, false, false, false,
                     false, QString()},
                    error);
}

bool UserStore::remove(const QString& name, QString* error) const {
    if (name == kAdmin) {
        if (error)
            *error = QStringLiteral("不能删除管理用户，否则您无法登录系统！");
        return false;
    }
    QSqlQuery q(db_.connection());
    return RunBound(q, "DELETE FROM UserName WHERE UserName = ?", {name}, error);
}
