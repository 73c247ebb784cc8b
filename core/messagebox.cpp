#include "core/messagebox.h"

#include <cstdio>

namespace core {
namespace {
MessageBoxPresenter& presenterSlot()
{
    static MessageBoxPresenter presenter;
    return presenter;
}
} // namespace

void setMessageBoxPresenter(MessageBoxPresenter presenter)
{
    presenterSlot() = std::move(presenter);
}

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    const Message message{text, title.isEmpty() ? applicationTitle() : title, buttons, icon};
    if (presenterSlot()) {
        return presenterSlot()(message);
    }
    std::fprintf(stderr, "[%s] %s\n", message.title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

} // namespace core
