#include "CardConfig.h"

namespace linecard {

bool CardConfig::anyNewRecord() const {
    for (int card = 0; card < cardNo && card < 16; ++card)
        if (newRecord[static_cast<size_t>(card)] == 1)
            return true;
    return false;
}

} // namespace linecard
