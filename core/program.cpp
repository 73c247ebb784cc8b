#include "core/program.h"

#include <QCoreApplication>

namespace core {
namespace {
std::function<void()>& handlerSlot()
{
    static std::function<void()> handler;
    return handler;
}
bool g_ended = false;
} // namespace

void endProgram()
{
    g_ended = true;
    if (handlerSlot()) {
        handlerSlot()();
        return;
    }
    QCoreApplication::exit(0);
}

bool programEnded()
{
    return g_ended;
}

void setEndProgramHandler(std::function<void()> handler)
{
    handlerSlot() = std::move(handler);
    g_ended = false;
}

} // namespace core
