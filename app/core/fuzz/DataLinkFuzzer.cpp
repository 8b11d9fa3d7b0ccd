// Any bytes as the contents of conn.udl: the reader either gives a data link
// with a host and a database, or refuses with a reason; it never crashes.
#include "DataLink.h"

#include <QSqlDatabase>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto link = DataLink::fromBytes(bytes, &error);
    if (link) {
        if (link->host().isEmpty() || link->database().isEmpty() || link->port() < 0)
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }
    return 0;
}
