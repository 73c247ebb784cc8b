#pragma once

#include "core/errorvalue.h"

namespace testsupport {

// The error a call throws, as a handler sees it; number 0 when it throws none.
template <typename Call> core::ErrorValue thrown(Call&& call)
{
    try {
        call();
    } catch (const core::Error& error) {
        return error.value();
    }
    return {};
}

} // namespace testsupport
