#include "DataLink.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString decodeFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto enc = bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
        return QStringDecoder(enc)(bytes.mid(2));
    }
    // UTF-16 without a BOM still shows as every other byte being zero.
    if (bytes.size() >= 4 && bytes[1] == '\0' && bytes[3] == '\0')
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes);
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    return QString::fromUtf8(b);
}

// Splits "k=v;k=v", honouring values quoted with " or '.
QMap<QString, QString> parsePairs(const QString& s) {
    QMap<QString, QString> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype eq = s.indexOf('=', i);
        if (eq < 0)
            break;
        const QString key = s.mid(i, eq - i).trimmed().toLower();
        qsizetype j = eq + 1;
        while (j < s.size() && s[j].isSpace())
            ++j;
        QString value;
        if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
            const QChar q = s[j];
            const qsizetype end = s.indexOf(q, j + 1);
            value = s.mid(j + 1, (end < 0 ? s.size() : end) - j - 1);
            i = end < 0 ? s.size() : s.indexOf(';', end) < 0 ? s.size() : s.indexOf(';', end) + 1;
        } else {
            const qsizetype semi = s.indexOf(';', j);
            value = s.mid(j, (semi < 0 ? s.size() : semi) - j).trimmed();
            i = semi < 0 ? s.size() : semi + 1;
        }
        if (!key.isEmpty())
            out.insert(key, value);
    }
    return out;
}

} // namespace

std::optional<DataLink> DataLink::fromFile(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法读取数据连接文件 %1：%2").arg(path, f.errorString());
        return std::nullopt;
    }
    return fromBytes(f.readAll(), error);
}

std::optional<DataLink> DataLink::fromBytes(const QByteArray& bytes, QString* error) {
    const QString text = decodeFile(bytes);
    QString init;
    for (const QString& raw : text.split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('['))
            continue;
        init = line;
        break;
    }
    return fromInitString(init, error);
}

std::optional<DataLink> DataLink::fromInitString(const QString& initString, QString* error) {
    const auto pairs = parsePairs(initString);
    const QString provider = pairs.value("provider");
    DataLink link;
    if (provider.startsWith("PostgreSQL", Qt::CaseInsensitive)) {
        link.engine_ = DbEngine::Postgres;
    } else if (provider.startsWith("SQLOLEDB", Qt::CaseInsensitive) ||
               provider.startsWith("MSOLEDBSQL", Qt::CaseInsensitive) ||
               provider.startsWith("SQLNCLI", Qt::CaseInsensitive)) {
        link.engine_ = DbEngine::SqlServer;
    } else {
        if (error)
            *error = QStringLiteral("数据连接文件的 Provider 不受支持：\"%1\"").arg(provider);
        return std::nullopt;
    }
    QString source = pairs.value("data source", pairs.value("server"));
    const qsizetype comma = source.indexOf(',');
    if (comma >= 0) {
        bool ok = false;
        link.port_ = source.mid(comma + 1).trimmed().toInt(&ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("数据连接文件的端口无效：\"%1\"").arg(source);
            return std::nullopt;
        }
        source = source.left(comma).trimmed();
    }
    link.host_ = source;
    link.database_ = pairs.value("initial catalog", pairs.value("database"));
    link.user_ = pairs.value("user id", pairs.value("uid"));
    link.password_ = pairs.value("password", pairs.value("pwd"));
    if (link.host_.isEmpty() || link.database_.isEmpty()) {
        if (error)
            *error = QStringLiteral("数据连接文件缺少 Data Source 或 Initial Catalog");
        return std::nullopt;
    }
    return link;
}

void DataLink::configure(QSqlDatabase& db) const {
    if (engine_ == DbEngine::SqlServer) {
        auto braced = [](QString v) { return '{' + v.replace('}', "}}") + '}'; };
        QString conn = "DRIVER={FreeTDS};SERVER=" + braced(host_) +
                       ";PORT=" + QString::number(port_ > 0 ? port_ : 1433) +
                       ";DATABASE=" + braced(database_) + ";UID=" + braced(user_) +
                       ";PWD=" + braced(password_) + ";TDS_Version=7.4;ClientCharset=UTF-8";
        db.setDatabaseName(conn);
        return;
    }
    db.setHostName(host_);
    if (port_ > 0)
        db.setPort(port_);
    db.setDatabaseName(database_);
    db.setUserName(user_);
    db.setPassword(password_);
}
