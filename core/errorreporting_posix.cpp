#include "core/errorreporting.h"

namespace core {

std::unique_ptr<ErrorReporting> platformErrorReporting()
{
    return std::make_unique<LogFileErrorReporting>();
}

} // namespace core
