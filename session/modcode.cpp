#include "session/modcode.h"

#include "core/errorreport.h"
#include "core/messagebox.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/valuetext.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"

#include <QCheckBox>
#include <QLineEdit>

#include <memory>
#include <optional>

namespace session {

namespace modCode {

QString UserName;
QString UserPassword;
bool Connected = false;
QString DataServer;
QString dtSecurityInfo;
QString dtUser;
QString dtPassword;
QString dtInitialCatalog;
QString dtDataSource;
qint32 AdvogadoID = 0;
CounterWindowInterface* CounterWindow = nullptr;

namespace {

const QString MachineKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\");

CounterWindowFactory& factorySlot()
{
    static CounterWindowFactory factory;
    return factory;
}

core::ReportLabels reportLabels(const QString& procedure)
{
    return {QStringLiteral("Orv Counter Software"),
            QStringLiteral("modCode"),
            QStringLiteral("modCode"),
            procedure,
            core::Rule::B,
            core::TextForm::Description};
}

// Both connections are opened from this text; it carries the login itself. The arguments are put in
// as they are (one pass), so a '%' in a password stays what it is.
QString connectionText(const QString& user, const QString& password)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=%1;User ID=%2;Password=%3;"
                          "Initial Catalog=%4;Data Source=%5;Connect Timeout=15")
        .arg(dtSecurityInfo, user, password, dtInitialCatalog, dtDataSource);
}

// Reads the machine's database settings into the login state, in their order; false at the first
// missing one, keeping those already read.
bool readDatabaseSettings()
{
    using registry::modRegistry::ObterValorString;
    const auto server = ObterValorString(MachineKey + QStringLiteral("Shared\\OUT"), QStringLiteral("DataServer"));
    if (!server) {
        return false;
    }
    DataServer = *server;
    const QString serverKey = MachineKey + DataServer;
    struct Setting {
        const char* name;
        QString* target;
    };
    const Setting settings[] = {{"dtSecurityInfo", &dtSecurityInfo},
                                {"dtUser", &dtUser},
                                {"dtPassword", &dtPassword},
                                {"dtInitialCatalog", &dtInitialCatalog},
                                {"dtDataSource", &dtDataSource}};
    for (const Setting& setting : settings) {
        const auto value = ObterValorString(serverKey, QString::fromLatin1(setting.name));
        if (!value) {
            return false;
        }
        *setting.target = setting.target == &dtPassword ? scramble::modEncriptSerial::DencriptSerial(*value) : *value;
    }
    return true;
}

void showLoginMessage(const QString& text)
{
    core::msgBox(text, core::Buttons::Ok, core::Icon::Critical, QStringLiteral("Login"));
}

void unloadLoginDialog(std::unique_ptr<frmLogin>& dialog)
{
    if (dialog && dialog->Unload()) {
        dialog.reset();
    }
}

// Each closing step ignores its own errors, so that the next one still runs.
template <typename Step> void ignoringErrors(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

void closingSteps(std::unique_ptr<frmLogin>& dialog)
{
    ignoringErrors(
        [] { registry::modRegistry::DefinirValorString(UserKey(), QStringLiteral("Remember"), QStringLiteral("0")); });
    ignoringErrors([&] { unloadLoginDialog(dialog); });
    ignoringErrors([] {
        if (CounterWindow) {
            CounterWindow->unloadWindow();
        }
    });
}

// Remembers the login (password scrambled) when FXRecord is ticked, forgets it otherwise.
void rememberLogin(const frmLogin& dialog)
{
    using namespace registry::modRegistry;
    if (dialog.FXRecord()->isChecked()) {
        CriarChave(UserKey());
        DefinirValorString(UserKey(), QStringLiteral("Username"), dialog.FXUser()->text());
        DefinirValorString(UserKey(), QStringLiteral("Password"),
                           scramble::modEncriptSerial::EncriptSerial(dialog.FXPassword()->text()));
        DefinirValorString(UserKey(), QStringLiteral("Remember"), QStringLiteral("1"));
    } else {
        DefinirValorString(UserKey(), QStringLiteral("Username"), QString());
        DefinirValorString(UserKey(), QStringLiteral("Password"), QString());
        DefinirValorString(UserKey(), QStringLiteral("Remember"), QStringLiteral("0"));
    }
}

void showCounterWindow()
{
    if (!CounterWindow) {
        if (factorySlot()) {
            CounterWindow = factorySlot()();
        }
        if (!CounterWindow) {
            throw core::Error(core::errc::InvalidProcedureCall,
                              QStringLiteral("The counter window could not be loaded"));
        }
    }
    CounterWindow->showWindow();
}

} // namespace

QString UserKey()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
}

void setCounterWindowFactory(CounterWindowFactory factory)
{
    factorySlot() = std::move(factory);
}

void main()
{
    std::unique_ptr<frmLogin> dialog;
    core::trap(reportLabels(QStringLiteral("main")), [&] {
        dialog = std::make_unique<frmLogin>();
        dialog->Form_Load();

        bool loggedIn = false;
        const auto remember = registry::modRegistry::ObterValorString(UserKey(), QStringLiteral("Remember"));
        if (remember && *remember != QStringLiteral("0")) {
            loggedIn = Login(dialog->FXUser()->text(), dialog->FXPassword()->text());
        }
        if (!loggedIn) {
            dialog->showModal();
        }
        if (dialog->Cancelado()) {
            closingSteps(dialog);
            return;
        }
        if (Login(dialog->FXUser()->text(), dialog->FXPassword()->text())) {
            loggedIn = true;
        }
        if (!loggedIn) {
            showLoginMessage(QStringLiteral("O nome de utilizador ou palavra-passe fornecidos são inválidos."));
            closingSteps(dialog);
            return;
        }
        if (!SetAdvogado(dialog->FXUser()->text())) {
            showLoginMessage(QStringLiteral("Não existe nenhum Advogado associado ao utilizador indicado."));
            closingSteps(dialog);
            return;
        }
        rememberLogin(*dialog);
        showCounterWindow();
        unloadLoginDialog(dialog);
    });
}

bool Login(const QString& name, const QString& password)
{
    bool result = false;
    core::trap(reportLabels(QStringLiteral("Login")), [&] {
        data::Connection& shared = data::Data::SqlServer();
        if (Connected && shared.isOpen()) {
            result = true;
            return;
        }
        if (!readDatabaseSettings()) {
            return;
        }
        data::Connection test;
        try {
            test.open(connectionText(name, password));
        } catch (...) {
            // Whatever refused the user (login, server, time-out) is told as wrong credentials by main.
            return;
        }
        UserName = name;
        UserPassword = password;
        if (!test.connectionString().isEmpty()) {
            if (!shared.isOpen()) {
                shared.setConnectionString(connectionText(dtUser, dtPassword));
                shared.open();
            }
            Connected = true;
            result = true;
        }
        test.close();
    });
    return result;
}

bool SetAdvogado(const QString& name)
{
    bool result = false;
    core::trap(reportLabels(QStringLiteral("SetAdvogado")), [&] {
        data::Connection& shared = data::Data::SqlServer();
        qint32 contacto = 0;
        auto recordset = shared.openRecordset(QStringLiteral("SELECT * FROM tbUsers WHERE descrit = ") +
                                              data::modData::SqlLiteral(name, data::modData::literal::Text));
        if (!recordset->eof()) {
            const QVariant value = recordset->value(QStringLiteral("contacto_id"));
            if (!value.isNull()) {
                contacto = data::valueText::toLong(value);
            }
        }
        recordset->close();
        if (contacto != 0) {
            recordset = shared.openRecordset(QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = ") +
                                             QString::number(contacto));
            if (!recordset->eof()) {
                AdvogadoID = contacto;
                result = true;
            }
            recordset->close();
        }
    });
    return result;
}

} // namespace modCode

void General::Run()
{
    modCode::main();
}

} // namespace session
