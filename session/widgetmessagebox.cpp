#include "session/widgetmessagebox.h"

#include <QMessageBox>

namespace session {

namespace {

QMessageBox::Icon boxIcon(core::Icon icon)
{
    switch (icon) {
    case core::Icon::Information:
        return QMessageBox::Information;
    case core::Icon::Question:
        return QMessageBox::Question;
    case core::Icon::Warning:
        return QMessageBox::Warning;
    case core::Icon::Critical:
        return QMessageBox::Critical;
    case core::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const core::Message& message)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(message.title);
    // The parts of a message are joined by LF CR LF CR; on screen that is one blank line.
    QString text = message.text;
    text.remove(QLatin1Char('\r'));
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(boxIcon(message.icon));
    if (message.buttons == core::Buttons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

core::Answer showMessageBox(const core::Message& message)
{
    auto box = buildMessageBox(message);
    const int pressed = box->exec();
    if (message.buttons == core::Buttons::YesNo) {
        return pressed == QMessageBox::Yes ? core::Answer::Yes : core::Answer::No;
    }
    return core::Answer::Ok;
}

void installWidgetMessageBoxes()
{
    core::setMessageBoxPresenter(&showMessageBox);
}

} // namespace session
