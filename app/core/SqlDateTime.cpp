#include "SqlDateTime.h"

#include <QStringList>

QDateTime SqlDateTime::parse(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    default:
        break;
    }
    QString text = value.toString().trimmed();
    if (text.size() > 10 && text[10] == ' ')
        text[10] = 'T';
    static const QStringList formats{"yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss",
                                     "yyyy-MM-ddTHH:mm", "yyyy-MM-dd"};
    // Fractions of other lengths than milliseconds (a server's microseconds).
    const qsizetype dot = text.indexOf('.');
    if (dot > 0 && text.size() - dot - 1 != 3)
        text = (text.left(dot) + "." + (text.mid(dot + 1) + "000").left(3));
    for (const QString& f : formats) {
        const QDateTime t = QDateTime::fromString(text, f);
        if (t.isValid())
            return t;
    }
    return {};
}

QDateTime SqlDateTime::toSeconds(const QDateTime& time) {
    if (!time.isValid())
        return time;
    QDateTime out = time;
    out.setTime(QTime(time.time().hour(), time.time().minute(), time.time().second()));
    return out;
}
