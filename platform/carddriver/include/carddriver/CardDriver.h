#pragma once
#include "linecard/DriverRequest.h"

namespace carddriver {

// The device behind the library's one device handle: a request record in and
// out, synchronously. `area` is the caller area of requests that carry one
// (its byte length is in the record's Data field), otherwise null.
class CardDriver {
public:
    virtual ~CardDriver() = default;
    // Returns the device-control success: false when the device refuses the
    // request (unknown code, channel out of range, area too small).
    virtual bool deviceControl(linecard::DriverRequest& request, void* area) = 0;
};

} // namespace carddriver
