#pragma once

#include <QString>

// Stored password form: PBKDF2-HMAC-SHA256 over the password, salted with 16
// random bytes and the user name, as one printable text
//   pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>
// so the same password gives different stored forms for different users and
// for every setting of it.
QString ScramblePassword(const QString& userName, const QString& password);

// Recomputes with the parameters in the stored form; false for a stored form
// that is not of this kind.
bool PasswordMatches(const QString& userName, const QString& password, const QString& stored);

inline constexpr int kPasswordIterations = 100000;
