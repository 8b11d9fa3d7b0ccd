#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A Windows-style INI document: sections and keys matched without regard to
// case, values taken verbatim after the first '=' (no quoting, no lists), and
// every other line kept as it was when the document is written back.
class IniFile {
public:
    // Reads the file; a missing or unreadable file gives an empty document.
    // The file is UTF-8, or GBK when it is not valid UTF-8.
    static IniFile load(const QString& path);
    static IniFile fromBytes(QByteArray bytes);

    std::optional<QString> value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes UTF-8 atomically, readable by the owner only (the file may hold a
    // remembered password). Returns false with the reason in error.
    bool save(const QString& path, QString* error = nullptr) const;

    QString text() const;

private:
    int findSection(const QString& section) const;
    QStringList lines_;
};
