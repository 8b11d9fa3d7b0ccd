#include "SecureRandomSource.h"

#include <cerrno>
#include <stdexcept>
#include <sys/random.h>

namespace {

std::uint32_t osRandom32() {
    std::uint32_t v = 0;
    auto* p = reinterpret_cast<unsigned char*>(&v);
    size_t got = 0;
    while (got < sizeof v) {
        const ssize_t n = getrandom(p + got, sizeof v - got, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("getrandom failed");
        }
        got += static_cast<size_t>(n);
    }
    return v;
}

} // namespace

std::uint32_t SecureRandomSource::below(std::uint32_t n) {
    if (n <= 1)
        return 0;
    // Values at or above the largest multiple of n would favour small results.
    const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % n);
    std::uint32_t v;
    do {
        v = osRandom32();
    } while (v >= limit);
    return v % n;
}
