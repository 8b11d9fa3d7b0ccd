#include "ConfigIni.h"

#include "AppHome.h"
#include "IniFile.h"

QString ConfigIni::path() {
    return AppHome::path("Config.Ini");
}

QString ConfigIni::readString(const QString& section, const QString& key, const QString& def) {
    return IniFile::load(path()).value(section, key).value_or(def);
}

int ConfigIni::readInt(const QString& section, const QString& key, int def) {
    const auto v = IniFile::load(path()).value(section, key);
    if (!v)
        return def;
    bool ok = false;
    const int n = v->toInt(&ok);
    return ok ? n : def;
}

bool ConfigIni::readBool(const QString& section, const QString& key, bool def) {
    const auto v = IniFile::load(path()).value(section, key);
    if (!v)
        return def;
    // Written as "1"/"0"; hand-edited files may say true/false.
    if (v->compare("true", Qt::CaseInsensitive) == 0)
        return true;
    if (v->compare("false", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const int n = v->toInt(&ok);
    return ok ? n != 0 : def;
}

bool ConfigIni::writeString(const QString& section, const QString& key, const QString& value) {
    IniFile ini = IniFile::load(path());
    ini.setValue(section, key, value);
    return ini.save(path());
}

bool ConfigIni::writeInt(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool ConfigIni::writeBool(const QString& section, const QString& key, bool value) {
    return writeString(section, key, value ? "1" : "0");
}
