#pragma once

#include <QString>
#include <QStringList>

// panelpick-admin: what needs no window, on the same core code the windows
// call. It opens the database exactly as the program does: the application
// home, Config.Ini's DBType, and conn.udl for the server form.
//   draw BILLID [--redraw]   the initial draw (or the redraw) of the project,
//                            without pacing; one line per drawn expert:
//                            expertID, specialtyClass, ICNO, Employer (tabs)
//   audit BILLID             checks the audit trail and the project's picks;
//                            "verified N picks" and the project's chain head
// Returns the process exit code (0 done, 1 refused or failed, 2 usage) and
// writes what happened to out / err.
int runAdmin(const QStringList& arguments, QString* out, QString* err);
