#include "LibraryState.h"

#include <cstdio>
#include <cstring>

namespace linecard {

LibraryState& LibraryState::instance() {
    static LibraryState state;
    return state;
}

bool LibraryState::request(DriverRequest& record, void* area, uint32_t areaBytes) {
    if (!device)
        return false;
    if (area)
        record.Data = areaBytes;
    return device->deviceControl(record, area);
}

bool LibraryState::request(uint32_t function, uint16_t channel, uint16_t value, uint32_t param1,
                           uint32_t param2) {
    DriverRequest record{requestCode(function), channel, value, param1, param2, 0};
    return request(record);
}

ChannelStatus LibraryState::status(uint16_t channel) {
    ChannelStatus result{kPassEnded, kPassEnded, 0, 0};
    DriverRequest record{requestCode(fn::ReadStatus), channel, 0, 0, 0, 0};
    ChannelStatus area{};
    if (request(record, &area, sizeof area))
        result = area;
    return result;
}

void LibraryState::message(const std::string& text, const char* caption, int flags) const {
    if (config.disablePopBox)
        return;
    if (messageHook)
        messageHook(text.c_str(), caption, flags);
    else
        std::fprintf(stderr, "[%s] %s\n", caption, text.c_str());
}

} // namespace linecard
