#pragma once

#include <QString>

#include <functional>

namespace core {

// Every message box of the system goes through msgBox. The windowing layer installs the real
// dialogs (setMessageBoxPresenter); tests install a scripted presenter, so nothing blocks.
enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Question, Warning, Critical };
enum class Answer { Ok, Yes, No, Cancel };

struct Message {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

// The application's title, shown on every message box without a title of its own.
inline QString applicationTitle()
{
    return QStringLiteral("Orv_Couter");
}

// Line feed, carriage return, line feed, carriage return: joins the parts of a message.
inline QString messageBreak()
{
    return QStringLiteral("\n\r\n\r");
}

using MessageBoxPresenter = std::function<Answer(const Message&)>;

// Seam: who shows the boxes. Without a presenter the message goes to stderr and the answer is
// Ok for an OK box and No for a question, so that nothing is confirmed by default.
void setMessageBoxPresenter(MessageBoxPresenter presenter);

// Shows a message; an empty title shows the application's title. Returns the button pressed.
Answer msgBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString& title = QString());

} // namespace core
