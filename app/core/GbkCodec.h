#pragma once

#include <QByteArray>
#include <QString>

// Conversion between the program's Unicode text and GBK bytes, for the places
// where a rule works on GBK bytes or a peer speaks GBK. Characters GBK cannot
// hold become '?'; invalid GBK bytes become U+FFFD.
class GbkCodec {
public:
    static QByteArray fromUnicode(const QString& text);
    static QString toUnicode(const QByteArray& gbk);
    static bool isValidUtf8(const QByteArray& bytes);
};
