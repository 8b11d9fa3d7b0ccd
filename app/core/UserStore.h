#pragma once

#include <QList>
#include <QString>
#include <optional>

// The user accounts of table UserName, on the shared connection.
class UserStore {
public:
    struct User {
        QString name;
        QString storedPassword;
        QString icno;
    };

    static inline const QString kAdmin = QStringLiteral("admin");
    // The six right columns, in the order the user manager shows them.
    static const QList<QString>& rightColumns();

    // The first row of that name (duplicates are not prevented).
    static std::optional<User> find(const QString& name, QString* error);
    static bool usersWithCard(const QString& icno, QList<User>* out, QString* error);
    static bool setPassword(const QString& name, const QString& password, QString* error);
    // A new user with every right off.
    static bool add(const QString& name, const QString& password, QString* error);
    // Refuses "admin".
    static bool remove(const QString& name, QString* error);
};
