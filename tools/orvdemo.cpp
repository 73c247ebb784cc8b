// orvdemo: builds the demo office database and points this machine's counter settings at it.
//
//   orvdemo --database PATH [--day yyyy-MM-dd] [--size N] [--force] [--remember USER]
//   orvdemo --postgres HOST,PORT --admin-password-file FILE [--admin ROLE] [--catalog NAME] [--plain-link] ...
//
// An existing database is kept unless --force is given; the settings are written every time.
// With --postgres the office is built as usual, then copied into a new database of that PostgreSQL server, its
// logins made roles of the server, and the settings point at the server.
// --remember stores a demo login for this user account, so the counter logs in without asking.

#include "core/errorvalue.h"
#include "data/office/officefile.h"
#include "tools/demooffice.h"
#include "tools/demopostgres.h"
#include "tools/demosettings.h"
#include "tools/demostaff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int BadArguments = 2;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvdemo"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Cria o escritório de demonstração numa base de dados local e aponta para ela as definições do contador."));
    parser.addHelpOption();
    const QCommandLineOption databaseOption(QStringLiteral("database"), QStringLiteral("Ficheiro da base de dados."),
                                            QStringLiteral("PATH"));
    const QCommandLineOption dayOption(QStringLiteral("day"),
                                       QStringLiteral("Dia de referência das tarefas (yyyy-MM-dd); por omissão, hoje."),
                                       QStringLiteral("yyyy-MM-dd"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("Número de tarefas, de %1 a %2 (por omissão %3); os lançamentos crescem com o quadrado: "
                       "tarefas x tarefas / 100.")
            .arg(tools::DemoOffice::MinSize)
            .arg(tools::DemoOffice::MaxSize)
            .arg(tools::DemoOffice::DefaultSize),
        QStringLiteral("N"), QString::number(tools::DemoOffice::DefaultSize));
    const QCommandLineOption forceOption(QStringLiteral("force"),
                                         QStringLiteral("Substitui uma base de dados existente."));
    const QCommandLineOption rememberOption(
        QStringLiteral("remember"), QStringLiteral("Recorda este utilizador de demonstração (entrada automática)."),
        QStringLiteral("USER"));
    const QCommandLineOption postgresOption(
        QStringLiteral("postgres"), QStringLiteral("Cria o escritório neste servidor PostgreSQL (anfitrião,porta)."),
        QStringLiteral("HOST,PORT"));
    const QCommandLineOption adminOption(QStringLiteral("admin"),
                                         QStringLiteral("Papel do servidor que cria papéis e bases de dados."),
                                         QStringLiteral("ROLE"), QStringLiteral("postgres"));
    const QCommandLineOption adminPasswordOption(QStringLiteral("admin-password-file"),
                                                 QStringLiteral("Ficheiro com a palavra-passe desse papel."),
                                                 QStringLiteral("FILE"));
    const QCommandLineOption catalogOption(QStringLiteral("catalog"),
                                           QStringLiteral("Nome da base de dados no servidor."), QStringLiteral("NAME"),
                                           tools::DemoOffice::catalog().toLower());
    const QCommandLineOption plainOption(QStringLiteral("plain-link"),
                                         QStringLiteral("Ligação sem cifra (servidor sem certificado)."));
    parser.addOptions({databaseOption, dayOption, sizeOption, forceOption, rememberOption, postgresOption, adminOption,
                       adminPasswordOption, catalogOption, plainOption});
    parser.process(app);

    const bool onServer = parser.isSet(postgresOption);
    if (!parser.isSet(databaseOption) && !onServer) {
        err << "orvdemo: falta --database PATH ou --postgres HOST,PORT\n";
        return BadArguments;
    }
    QTemporaryDir staging;
    const QString path = onServer ? staging.filePath(QStringLiteral("orvdemo.db"))
                                  : QFileInfo(parser.value(databaseOption)).absoluteFilePath();
    const QDate day =
        parser.isSet(dayOption) ? QDate::fromString(parser.value(dayOption), Qt::ISODate) : QDate::currentDate();
    bool sizeOk = false;
    const int size = parser.value(sizeOption).toInt(&sizeOk);
    if (!day.isValid() || !sizeOk || size < tools::DemoOffice::MinSize || size > tools::DemoOffice::MaxSize) {
        err << "orvdemo: --day ou --size inválido\n";
        return BadArguments;
    }

    try {
        if (parser.isSet(forceOption) && !data::schema::removeOffice(path)) {
            err << "orvdemo: não foi possível apagar " << path << "\n";
            return 1;
        }
        // What was made is told once everything succeeded: on a server, only after the copy.
        QString made;
        QTextStream report(&made);
        if (QFile::exists(path)) {
            report << "Base de dados existente mantida: " << path << "\n";
        } else {
            QElapsedTimer timer;
            timer.start();
            const tools::DemoSummary summary = tools::DemoOffice(day, size).build(path);
            report << (onServer ? QStringLiteral("Escritório de demonstração gerado")
                                : QStringLiteral("Base de dados criada: ") + path)
                   << " (dia " << day.toString(Qt::ISODate) << ")\n"
                   << "  " << summary.clients << " clientes, " << summary.cases << " dossiers, " << summary.workItems
                   << " trabalhos, " << summary.tasks << " tarefas (" << summary.pendingTasks << " pendentes), "
                   << summary.entries << " lançamentos, " << summary.running << " em curso\n"
                   << "  em " << QString::number(double(timer.elapsed()) / 1000.0, 'f', 2) << " s\n";
        }
        if (onServer) {
            QFile passwordFile(parser.value(adminPasswordOption));
            if (!passwordFile.open(QIODevice::ReadOnly)) {
                err << "orvdemo: falta --admin-password-file FILE legível\n";
                return BadArguments;
            }
            const data::PostgresTarget target{parser.value(postgresOption).trimmed(),
                                              parser.value(adminOption),
                                              QString::fromUtf8(passwordFile.readAll()).trimmed(),
                                              parser.value(catalogOption),
                                              {!parser.isSet(plainOption), false}};
            tools::copyToPostgres(path, target, parser.isSet(forceOption));
            report.flush();
            out << made << "Copiado para a base de dados " << target.catalog << " em " << target.server << "\n";
            data::postgresoffice::writeSettings(QStringLiteral("DEMO"), target, tools::DemoOffice::sharedUser(),
                                                tools::DemoOffice::sharedPassword());
        } else {
            report.flush();
            out << made;
            tools::DemoSettings::write(QStringLiteral("DEMO"), path, tools::DemoOffice::catalog(),
                                       tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword());
        }
        if (parser.isSet(rememberOption)) {
            tools::DemoSettings::remember(parser.value(rememberOption), tools::DemoStaff::password());
        }
        out << "Definições gravadas em " << tools::DemoSettings::serverKey(QStringLiteral("DEMO")) << "\n"
            << "Utilizadores (palavra-passe \"" << tools::DemoStaff::password() << "\"):\n";
        for (const tools::DemoLogin& login : tools::DemoStaff::logins()) {
            out << "  " << login.user.leftJustified(12) << login.name << " (" << login.role << ")\n";
        }
    } catch (const core::Error& error) {
        err << "orvdemo: " << error.description() << "\n";
        return 1;
    }
    return 0;
}
