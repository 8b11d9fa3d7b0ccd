#include "CanonicalRecord.h"

#include <QCryptographicHash>

QString CanonicalRecord::escape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == '\\')
            out += QStringLiteral("\\\\");
        else if (c == '\n')
            out += QStringLiteral("\\n");
        else if (c == '\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString CanonicalRecord::timeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void CanonicalRecord::line(const char* name, const QString* value) {
    text_ += name;
    if (value) {
        text_ += '=';
        text_ += escape(*value).toUtf8();
    } else {
        text_ += '~';
    }
    text_ += '\n';
}

CanonicalRecord& CanonicalRecord::add(const char* name, const QVariant& value) {
    if (value.isNull()) {
        line(name, nullptr);
    } else {
        const QString text = value.toString();
        line(name, &text);
    }
    return *this;
}

CanonicalRecord& CanonicalRecord::addText(const char* name, const QString& text) {
    line(name, &text);
    return *this;
}

CanonicalRecord& CanonicalRecord::addTime(const char* name, const QDateTime& time) {
    if (!time.isValid()) {
        line(name, nullptr);
    } else {
        const QString text = timeText(time);
        line(name, &text);
    }
    return *this;
}

CanonicalRecord& CanonicalRecord::addList(const char* name, const QStringList& items) {
    const QString text = joinList(items);
    line(name, &text);
    return *this;
}

QString CanonicalRecord::joinList(const QStringList& items) {
    return items.join('\n');
}

QStringList CanonicalRecord::splitList(const QVariant& stored) {
    const QString text = stored.toString();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QString CanonicalRecord::sha256() const {
    return QString::fromLatin1(QCryptographicHash::hash(text_, QCryptographicHash::Sha256).toHex());
}
