#include "DbContext.h"

#include "SqlDialect.h"

const SqlDialect& DbContext::dialect() const {
    return SqlDialect::forEngine(engine_);
}
