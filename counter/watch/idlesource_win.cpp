// The idle time on Windows: GetLastInputInfo, the tick of the session's last input.
#include "counter/watch/idlesource.h"

#include <windows.h>

namespace counter {
namespace {

class WindowsIdleSource : public IdleSource
{
public:
    std::optional<qint64> idleMilliseconds() override
    {
        LASTINPUTINFO info{};
        info.cbSize = sizeof(info);
        if (!GetLastInputInfo(&info)) {
            return std::nullopt;
        }
        // Both are 32-bit tick counts: the unsigned difference stays right across their wrap after 49.7 days.
        return static_cast<qint64>(static_cast<DWORD>(GetTickCount() - info.dwTime));
    }
    QString name() const override { return QStringLiteral("Windows GetLastInputInfo"); }
};

} // namespace

std::vector<IdleSourceFactory> platformIdleSources()
{
    return {[]() -> std::unique_ptr<IdleSource> { return std::make_unique<WindowsIdleSource>(); }};
}

} // namespace counter
