#include "IniFile.h"

#include "GbkCodec.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool isSectionLine(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool splitKeyLine(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

IniFile IniFile::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return IniFile();
    return fromBytes(f.readAll());
}

IniFile IniFile::fromBytes(QByteArray bytes) {
    IniFile ini;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text =
        GbkCodec::isValidUtf8(bytes) ? QString::fromUtf8(bytes) : GbkCodec::toUnicode(bytes);
    ini.lines_ = text.split('\n');
    for (QString& l : ini.lines_)
        if (l.endsWith('\r'))
            l.chop(1);
    if (!ini.lines_.isEmpty() && ini.lines_.last().isEmpty())
        ini.lines_.removeLast();
    return ini;
}

int IniFile::findSection(const QString& section) const {
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (isSectionLine(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int start = findSection(section);
    if (start < 0)
        return std::nullopt;
    QString k, v;
    for (int i = start + 1; i < lines_.size(); ++i) {
        if (isSectionLine(lines_[i], nullptr))
            break;
        if (splitKeyLine(lines_[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    // A value cannot span lines in this format; keep the first line only.
    const QString v = value.section('\n', 0, 0).remove('\r');
    int start = findSection(section);
    if (start < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
            lines_.append(QString());
        lines_.append('[' + section + ']');
        lines_.append(key + '=' + v);
        return;
    }
    int end = start + 1;
    QString k;
    for (; end < lines_.size(); ++end) {
        if (isSectionLine(lines_[end], nullptr))
            break;
        if (splitKeyLine(lines_[end], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines_[end] = k + '=' + v;
            return;
        }
    }
    // Append after the section's last non-blank line.
    int at = end;
    while (at > start + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, key + '=' + v);
}

QString IniFile::text() const {
    QString out;
    for (const QString& l : lines_)
        out += l + "\r\n";
    return out;
}

bool IniFile::save(const QString& path, QString* error) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.write(text().toUtf8());
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}
