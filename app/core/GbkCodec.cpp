#include "GbkCodec.h"

#include <QList>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// Runs iconv over the whole input; on an unconvertible sequence writes the
// replacement and skips one input unit (skip bytes).
QByteArray convert(const char* to, const char* from, const QByteArray& in, const QByteArray& repl,
                   int skip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.reserve(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<qsizetype>(dst - buf));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated tail): replace and step over it.
            out.append(repl);
            size_t step = std::min<size_t>(static_cast<size_t>(skip), srcLeft);
            src += step;
            srcLeft -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray GbkCodec::fromUnicode(const QString& text) {
    // UTF-32 input steps over one whole character on a failure.
    const QList<uint> ucs4 = text.toUcs4();
    QByteArray utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    return convert("GBK", "UTF-32LE", utf32, "?", 4);
}

QString GbkCodec::toUnicode(const QByteArray& gbk) {
    return QString::fromUtf8(convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", 1));
}

bool GbkCodec::isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // the decoder runs lazily
    (void)decoded;
    return !decoder.hasError();
}
