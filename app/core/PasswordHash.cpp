#include "PasswordHash.h"

#include <QByteArray>
#include <QStringList>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace {

constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QString& userName, const QString& password, const QByteArray& salt,
                  int iterations) {
    const QByteArray pw = password.toUtf8();
    const QByteArray fullSalt = salt + userName.toUtf8();
    QByteArray out(kHashBytes, '\0');
    if (PKCS5_PBKDF2_HMAC(pw.constData(), static_cast<int>(pw.size()),
                          reinterpret_cast<const unsigned char*>(fullSalt.constData()),
                          static_cast<int>(fullSalt.size()), iterations, EVP_sha256(), kHashBytes,
                          reinterpret_cast<unsigned char*>(out.data())) != 1)
        return {};
    return out;
}

} // namespace

QString ScramblePassword(const QString& userName, const QString& password) {
    QByteArray salt(kSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), kSaltBytes) != 1)
        qFatal("no random bytes for a password salt");
    const QByteArray hash = derive(userName, password, salt, kPasswordIterations);
    return QStringLiteral("pbkdf2-sha256$%1$%2$%3")
        .arg(kPasswordIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool PasswordMatches(const QString& userName, const QString& password, const QString& stored) {
    const QStringList parts = stored.trimmed().split('$');
    if (parts.size() != 4 || parts[0] != "pbkdf2-sha256")
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    // An absurd count in a tampered row must not hang the login.
    if (!ok || iterations < 1 || iterations > 10'000'000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    if (salt.isEmpty() || expected.size() != kHashBytes)
        return false;
    const QByteArray actual = derive(userName, password, salt, iterations);
    return actual.size() == kHashBytes &&
           CRYPTO_memcmp(actual.constData(), expected.constData(), kHashBytes) == 0;
}
