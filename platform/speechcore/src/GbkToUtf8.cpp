#include "GbkToUtf8.h"

#include "speechcore/Speechcore.h"

#include <cerrno>
#include <iconv.h>

namespace speechcore {

namespace {

class IconvDescriptor {
public:
    IconvDescriptor() : cd_(iconv_open("UTF-8", "GBK")) {}
    ~IconvDescriptor() {
        if (isOpen())
            iconv_close(cd_);
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;
    bool isOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

int32_t GbkToUtf8::convert(std::string_view gbk, std::string& utf8) {
    utf8.clear();
    if (gbk.empty())
        return SPEECHCORE_OK;
    // A descriptor per call: iconv state must not be shared between threads.
    IconvDescriptor cd;
    if (!cd.isOpen())
        return SPEECHCORE_ERR_ENGINE;
    // One GBK byte never becomes more than three UTF-8 bytes.
    std::string out(gbk.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(gbk.data());
    size_t inLeft = gbk.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return errno == E2BIG ? SPEECHCORE_ERR_ENGINE : SPEECHCORE_ERR_ENCODING;
    out.resize(out.size() - outLeft);
    utf8 = std::move(out);
    return SPEECHCORE_OK;
}

} // namespace speechcore
