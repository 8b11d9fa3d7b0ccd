#pragma once

#include <QString>

// Upper-case pinyin initials of a text, worked out on its GBK bytes from the
// area-position number of each first-level GB2312 character ("张三abc" ->
// "ZSabc"). Single-byte characters are kept as they are; other double-byte
// characters (symbols, second-level characters) give nothing. A double-byte
// character outside the first-level area is never split in two.
QString PinyinInitials(const QString& text);
