#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

// The canonical text of an audit record, from which its hash is taken: one
// line per field, in a fixed order, "name=value" with backslash, line feed
// and carriage return escaped, or "name~" for a missing number or time.
// Texts are always written as text: a missing text is the empty one. Times are written to the
// second in ISO form without a zone; a list is its items joined by line
// feeds before escaping. Everybody who recomputes a hash builds the same text
// from the values read back from the database.
class CanonicalRecord {
public:
    // A number or other value; a null value is written as missing.
    CanonicalRecord& add(const char* name, const QVariant& value);
    CanonicalRecord& addText(const char* name, const QString& text);
    CanonicalRecord& addTime(const char* name, const QDateTime& time);
    CanonicalRecord& addList(const char* name, const QStringList& items);

    const QByteArray& text() const { return text_; }
    // SHA-256 of the text, lower-case hex.
    QString sha256() const;

    // A list as the audit tables store it, one item per line, and back.
    static QString joinList(const QStringList& items);
    static QStringList splitList(const QVariant& stored);

    static QString escape(const QString& value);
    static QString timeText(const QDateTime& time);

private:
    void line(const char* name, const QString* value);
    QByteArray text_;
};
