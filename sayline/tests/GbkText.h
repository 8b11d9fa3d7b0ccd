#pragma once

#include <iconv.h>

#include <string>

// The library takes GBK text, as the program hands it over; the tests write
// their texts in UTF-8.
inline std::string gbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* at = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}
