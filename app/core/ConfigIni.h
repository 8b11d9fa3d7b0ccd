#pragma once

#include <QString>

// Readers and writers of Config.Ini in the application home. Nothing is
// cached: every call opens the file, so a change is seen at the next read.
// A missing file or key, or a non-number where a number is wanted, gives the
// caller's default.
class ConfigIni {
public:
    static QString path();

    static QString readString(const QString& section, const QString& key, const QString& def);
    static int readInt(const QString& section, const QString& key, int def);
    static bool readBool(const QString& section, const QString& key, bool def);

    static bool writeString(const QString& section, const QString& key, const QString& value);
    static bool writeInt(const QString& section, const QString& key, int value);
    static bool writeBool(const QString& section, const QString& key, bool value);
};
