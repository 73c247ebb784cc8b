#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;

namespace session {

// The login dialog. It only collects a name, a password and the remember choice and hides itself;
// start-up (modCode::main) reads the fields and Cancelado afterwards and does the logging in.
class frmLogin : public QDialog
{
    Q_OBJECT

public:
    // Shows the dialog modally; returns once the dialog has hidden itself. The default runs exec().
    // Tests install a runner that fills the fields and clicks the buttons without an event loop.
    using ModalRunner = std::function<void(frmLogin&)>;
    // An empty runner restores the default.
    static void setModalRunner(ModalRunner runner);

    explicit frmLogin(QWidget* parent = nullptr);

    // The load: fills the remembered login from the per-user registry ("Remember", "Username",
    // "Password") and ticks FXRecord. A password that cannot be unscrambled leaves FXPassword empty.
    // Errors are reported (rule C, "Rpl_Move_Bottom") and end the load.
    void Form_Load();
    // Shows the dialog modally through the runner.
    void showModal();
    // The unload. While the dialog is visible it only hides and refuses: returns false. When hidden it
    // returns true and the caller destroys the dialog.
    bool Unload();

    // True after "Cancelar", false after "OK"; false when the dialog is created.
    bool Cancelado() const { return m_cancelado; }
    QLineEdit* FXUser() const { return m_FXUser; }
    QLineEdit* FXPassword() const { return m_FXPassword; }
    QCheckBox* FXRecord() const { return m_FXRecord; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void FXPassword_KeyDown(int keyCode);
    void Form_Unload(bool& cancel);

    QLineEdit* m_FXUser = nullptr;
    QLineEdit* m_FXPassword = nullptr;
    QCheckBox* m_FXRecord = nullptr;
    bool m_cancelado = false;
};

} // namespace session
