#include "session/frmlogin.h"

#include "core/errorreport.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace session {

namespace {

constexpr int KeyReturn = 13;

frmLogin::ModalRunner& runnerSlot()
{
    static frmLogin::ModalRunner runner;
    return runner;
}

// The handlers of load and unload share one procedure label.
core::ReportLabels reportLabels(const QString& owner)
{
    return {QStringLiteral("Orv Software"),
            QStringLiteral("Orv_Counter"),
            owner,
            QStringLiteral("Rpl_Move_Bottom"),
            core::Rule::C,
            core::TextForm::Description};
}

// A clock face with a key across it.
QPixmap loginPicture()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x30, 0x40, 0x80), 3));
    painter.setBrush(QColor(0xF0, 0xF0, 0xF8));
    painter.drawEllipse(4, 4, 40, 40);
    painter.drawLine(24, 24, 24, 12);
    painter.drawLine(24, 24, 33, 24);
    painter.setPen(QPen(QColor(0xC0, 0x90, 0x20), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(26, 30, 10, 10);
    painter.drawLine(36, 35, 46, 35);
    painter.drawLine(43, 35, 43, 40);
    return picture;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* control = new QLabel(text, parent);
    control->setObjectName(name);
    return control;
}

} // namespace

void frmLogin::setModalRunner(ModalRunner runner)
{
    runnerSlot() = std::move(runner);
}

frmLogin::frmLogin(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login Orv Counter"));
    setModal(true);

    auto* frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::StyledPanel);
    auto* label1 = label(QStringLiteral("Label1"), QStringLiteral("Orvel"), frame1);
    QFont heading = label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    label1->setFont(heading);
    auto* label2 = label(QStringLiteral("Label2"), QStringLiteral("LOGIN - Autenticação"), frame1);
    auto* image2 = new QLabel(frame1);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setPixmap(loginPicture());
    auto* headerTexts = new QVBoxLayout;
    headerTexts->addWidget(label1);
    headerTexts->addWidget(label2);
    auto* header = new QHBoxLayout(frame1);
    header->addLayout(headerTexts, 1);
    header->addWidget(image2);

    auto* frame2 = new QFrame(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setFrameShape(QFrame::StyledPanel);
    m_FXUser = new QLineEdit(frame2);
    m_FXUser->setObjectName(QStringLiteral("FXUser"));
    m_FXUser->setAccessibleName(QStringLiteral("Nome utilizador"));
    m_FXPassword = new QLineEdit(frame2);
    m_FXPassword->setObjectName(QStringLiteral("FXPassword"));
    m_FXPassword->setAccessibleName(QStringLiteral("Palavra-passe"));
    m_FXPassword->setEchoMode(QLineEdit::Password);
    m_FXPassword->installEventFilter(this);
    m_FXRecord = new QCheckBox(QStringLiteral("Recordar a palavra-passe"), frame2);
    m_FXRecord->setObjectName(QStringLiteral("FXRecord"));
    auto* fields = new QGridLayout(frame2);
    fields->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Nome utilizador:"), frame2), 0, 0);
    fields->addWidget(m_FXUser, 0, 1);
    fields->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Palavra-passe:"), frame2), 1, 0);
    fields->addWidget(m_FXPassword, 1, 1);
    fields->addWidget(m_FXRecord, 2, 1);

    // Neither button is a default one: Enter in the user field must not press "OK".
    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    auto* command2 = new QPushButton(QStringLiteral("Cancelar"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* button : {command1, command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(command1, &QPushButton::clicked, this, &frmLogin::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &frmLogin::Command2_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1);
    buttons->addWidget(command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addWidget(frame2);
    layout->addLayout(buttons);
    setTabOrder(m_FXUser, m_FXPassword);
    setTabOrder(m_FXPassword, m_FXRecord);
    setTabOrder(m_FXRecord, command1);
    setTabOrder(command1, command2);
    m_FXUser->setFocus();
}

void frmLogin::Form_Load()
{
    core::trap(reportLabels(objectName()), [&] {
        using namespace registry::modRegistry;
        const auto remember = ObterValorString(modCode::UserKey(), QStringLiteral("Remember"));
        if (!remember || *remember == QStringLiteral("0")) {
            return;
        }
        if (const auto name = ObterValorString(modCode::UserKey(), QStringLiteral("Username"))) {
            m_FXUser->setText(*name);
        }
        if (const auto password = ObterValorString(modCode::UserKey(), QStringLiteral("Password"))) {
            // Unscrambling fails with empty text, which leaves the field empty.
            m_FXPassword->setText(scramble::modEncriptSerial::DencriptSerial(*password));
        }
        m_FXRecord->setChecked(true);
    });
}

void frmLogin::showModal()
{
    if (runnerSlot()) {
        runnerSlot()(*this);
        return;
    }
    exec();
}

bool frmLogin::Unload()
{
    bool cancel = false;
    Form_Unload(cancel);
    return !cancel;
}

void frmLogin::Form_Unload(bool& cancel)
{
    core::trap(reportLabels(objectName()), [&] {
        if (isVisible()) {
            // Hiding ends the modal showing; start-up then reads the fields and unloads for real.
            hide();
            cancel = true;
        }
    });
}

void frmLogin::Command1_Click()
{
    m_cancelado = false;
    Unload();
}

void frmLogin::Command2_Click()
{
    m_cancelado = true;
    Unload();
}

void frmLogin::FXPassword_KeyDown(int keyCode)
{
    if (keyCode == KeyReturn) {
        hide();
    }
}

void frmLogin::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

void frmLogin::keyPressEvent(QKeyEvent* event)
{
    // The dialog has no default or cancel button: Enter presses only the button that has the focus
    // (FXPassword answers Enter itself), and Escape does nothing.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_FXPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FXPassword_KeyDown(KeyReturn);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace session
