#pragma once

#include <QString>

// The folder the program keeps its files in (Config.Ini, conn.udl, mdf/, log/,
// help/): the one named by PANELPICK_HOME, else the program's own directory.
class AppHome {
public:
    static QString dir();
    // Absolute path of a file below the home; rel may start with a slash.
    static QString path(const QString& rel);
};
