#include "session/modcode.h"

#include "core/errorreport.h"
#include "core/loginthrottle.h"
#include "core/messagebox.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/engines/embedded.h"
#include "data/engines/odbcconnection.h"
#include "data/moddata.h"
#include "data/office/machinesettings.h"
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

// Both connections are opened from this text; it carries the login itself. What the user typed is
// quoted as a value, so it can never add or change a key (the server or file come from the machine
// settings alone).
QString connectionText(const QString& user, const QString& password)
{
    return data::ConnectionText::forLogin(dtSecurityInfo, user, password, dtInitialCatalog, dtDataSource);
}

// Why a login failed, for the administrator: written to the error log, never shown. The text never
// holds a password or a connection text.
void reportLoginCause(const QString& cause)
{
    core::reportError(reportLabels(QStringLiteral("Login")), {core::errc::ProviderError, cause});
}

// Whether the office lists name as one of its users, asked with the shared account; false when that cannot
// be told. Never throws.
bool knownUser(const QString& name)
{
    try {
        data::Connection office;
        office.open(connectionText(dtUser, dtPassword));
        auto user = office.openRecordset(QStringLiteral("SELECT user_id FROM tbUsers WHERE descrit = ") +
                                         data::modData::SqlLiteral(name, data::modData::literal::Text));
        return !user->eof();
    } catch (...) {
        return false;
    }
}

// A refusal's cause with the typed name left out unless it is a known user: a password typed into the name
// field, or a stranger's guesses, never reach the error log.
QString withoutUnknownName(const QString& cause, const QString& name)
{
    const QString typed = data::valueText::trimBlanks(name);
    if (typed.isEmpty() || !cause.contains(typed, Qt::CaseInsensitive) || knownUser(typed)) {
        return cause;
    }
    QString scrubbed = cause;
    return scrubbed.replace(typed, QStringLiteral("(nome desconhecido)"), Qt::CaseInsensitive);
}

// Reads the machine's database settings into the login state and makes their engine and link protection the
// process's; false, with the cause in the error log, at the first missing one or an engine no connection knows.
bool readDatabaseSettings()
{
    data::MachineSettings settings;
    try {
        settings = data::MachineSettings::read();
    } catch (const core::Error& error) {
        reportLoginCause(error.description());
        return false;
    }
    DataServer = settings.server;
    dtSecurityInfo = settings.securityInfo;
    dtUser = settings.user;
    dtPassword = settings.password;
    dtInitialCatalog = settings.catalog;
    dtDataSource = settings.dataSource;
    settings.apply();
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

// Remembers the login (password scrambled) when FXRecord is ticked, forgets it otherwise. A remembered login also
// keeps "Verified": the embedded engine's digests of the password checks it passed, so that the next start need not
// verify the same passwords against the same hashes again (data::embedded::rememberChecks).
// Writes a remembered value only when it differs from what is stored: every write makes the settings file
// anew on disk, and a remembered login is the same at nearly every start.
void rememberValue(const QString& name, const QString& value)
{
    using namespace registry::modRegistry;
    if (ObterValorString(UserKey(), name) != std::optional<QString>(value)) {
        DefinirValorString(UserKey(), name, value);
    }
}

void rememberLogin(const frmLogin& dialog)
{
    if (dialog.FXRecord()->isChecked()) {
        if (!registry::modRegistry::ObterValorString(UserKey(), QStringLiteral("Remember"))) {
            registry::modRegistry::CriarChave(UserKey());
        }
        rememberValue(QStringLiteral("Username"), UserName);
        rememberValue(QStringLiteral("Password"),
                      scramble::modEncriptSerial::EncriptSerial(dialog.FXPassword()->text()));
        rememberValue(QStringLiteral("Remember"), QStringLiteral("1"));
        rememberValue(QStringLiteral("Verified"), data::embedded::checksPassed().join(QLatin1Char(';')));
    } else {
        rememberValue(QStringLiteral("Username"), QString());
        rememberValue(QStringLiteral("Password"), QString());
        rememberValue(QStringLiteral("Remember"), QStringLiteral("0"));
        rememberValue(QStringLiteral("Verified"), QString());
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
    return data::MachineSettings::userKey();
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

        // The name is normalised once: without blanks at either end here, then as tbUsers spells it
        // (SetAdvogado). That one value is what the login state, the policy check and the remembered login use.
        const auto typedName = [&] { return data::valueText::trimBlanks(dialog->FXUser()->text()); };
        bool loggedIn = false;
        // The embedded engine's password checks this remembered login passed before (see rememberLogin).
        data::embedded::rememberChecks(registry::modRegistry::ObterValorString(UserKey(), QStringLiteral("Verified"))
                                           .value_or(QString())
                                           .split(QLatin1Char(';'), Qt::SkipEmptyParts));
        const auto remember = registry::modRegistry::ObterValorString(UserKey(), QStringLiteral("Remember"));
        if (remember && *remember != QStringLiteral("0")) {
            loggedIn = Login(typedName(), dialog->FXPassword()->text());
        }
        if (!loggedIn) {
            dialog->showModal();
        }
        if (dialog->Cancelado()) {
            closingSteps(dialog);
            return;
        }
        if (Login(typedName(), dialog->FXPassword()->text())) {
            loggedIn = true;
        }
        if (!loggedIn) {
            core::LoginThrottle::failed();
            showLoginMessage(QStringLiteral("O nome de utilizador ou palavra-passe fornecidos são inválidos."));
            closingSteps(dialog);
            return;
        }
        core::LoginThrottle::succeeded();
        if (!SetAdvogado(typedName())) {
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
        if (!shared.isOpen()) {
            // The shared account's password is checked on a second core while the user's is: each check costs
            // tens of milliseconds by design, and the two answers are the same as one after the other. The shared
            // connection still opens only once the user's own login has.
            data::Connection::checkLoginAhead(connectionText(dtUser, dtPassword));
        }
        data::Connection test;
        try {
            test.open(connectionText(name, password));
        } catch (...) {
            // Whatever refused the user (login, server, time-out) is told as wrong credentials by main;
            // the cause goes to the error log.
            reportLoginCause(QStringLiteral("The user's test connection failed: ") +
                             withoutUnknownName(core::currentError().description, name));
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
        QString spelling;
        if (!recordset->eof()) {
            const QVariant value = recordset->value(QStringLiteral("contacto_id"));
            if (!value.isNull()) {
                contacto = data::valueText::toLong(value);
            }
            spelling = data::valueText::text(recordset->value(QStringLiteral("descrit")));
        }
        recordset->close();
        if (contacto != 0) {
            recordset = shared.openRecordset(QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = ") +
                                             QString::number(contacto));
            if (!recordset->eof()) {
                AdvogadoID = contacto;
                // From here on the user is known by the name as tbUsers spells it.
                UserName = spelling;
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
