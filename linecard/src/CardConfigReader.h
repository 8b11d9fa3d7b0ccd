#pragma once
#include "CardConfig.h"

#include <string>

namespace linecard {

// Reads LINECARD-V.INI key by key in the card's fixed order, applying each
// key's range rule. A value that stops loading leaves its message.
class CardConfigReader {
public:
    struct Result {
        bool ok = false;
        CardConfig config;
        std::string message; // the reason loading stops, when !ok
    };

    static Result read(const std::string& path);
    // Hexadecimal key text: at most 19 characters, lower case folded, read up
    // to the first character that is not a hex digit; empty gives `fallback`.
    static uint32_t parseHex(const std::string& text, uint32_t fallback);
};

} // namespace linecard
