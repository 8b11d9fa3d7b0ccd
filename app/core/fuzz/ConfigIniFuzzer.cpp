// Any bytes as Config.Ini: reading a key never crashes, and a value written
// into the document reads back the same, also after the document's text is
// read again.
#include "IniFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile ini = IniFile::fromBytes(bytes);
    (void)ini.value("COMSET", "AutoBC");
    (void)ini.value("Login", "DBType");
    ini.setValue("Login", "UserName", QStringLiteral("张三"));
    if (ini.value("Login", "UserName") != QStringLiteral("张三"))
        std::abort();
    const IniFile again = IniFile::fromBytes(ini.text().toUtf8());
    if (again.value("Login", "UserName") != QStringLiteral("张三"))
        std::abort();
    return 0;
}
