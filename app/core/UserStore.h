#pragma once

#include <QList>
#include <QString>
#include <optional>

class DbContext;

// The user accounts of table UserName, on the shared connection.
class UserStore {
public:
    struct User {
        QString name;
        QString storedPassword;
        QString icno;
    };

    explicit UserStore(const DbContext& db) : db_(db) {}

    static inline const QString kAdmin = QStringLiteral("admin");
    // The six right columns, in the order the user manager shows them.
    static const QList<QString>& rightColumns();

    // The first row of that name (duplicates are not prevented).
    std::optional<User> find(const QString& name, QString* error) const;
    bool usersWithCard(const QString& icno, QList<User>* out, QString* error) const;
    // False, with a reason, also when no row of that name exists.
    bool setPassword(const QString& name, const QString& password, QString* error) const;
    // A new user with every right off.
    bool add(const QString& name, const QString& password, QString* error) const;
    // Refuses "admin".
    bool remove(const QString& name, QString* error) const;

private:
    const DbContext& db_;
};
