// orvdemo: builds the demo office database and points this machine's counter settings at it.
//
//   orvdemo --database PATH [--day yyyy-MM-dd] [--size N] [--force] [--remember USER]
//
// An existing database is kept unless --force is given; the settings are written every time.
// --remember stores a demo login for this user account, so the counter logs in without asking.

#include "core/errorvalue.h"
#include "data/officefile.h"
#include "tools/demooffice.h"
#include "tools/demosettings.h"
#include "tools/demostaff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
    parser.addOptions({databaseOption, dayOption, sizeOption, forceOption, rememberOption});
    parser.process(app);

    if (!parser.isSet(databaseOption)) {
        err << "orvdemo: falta --database PATH\n";
        return BadArguments;
    }
    const QString path = QFileInfo(parser.value(databaseOption)).absoluteFilePath();
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
        if (QFile::exists(path)) {
            out << "Base de dados existente mantida: " << path << "\n";
        } else {
            QElapsedTimer timer;
            timer.start();
            const tools::DemoSummary summary = tools::DemoOffice(day, size).build(path);
            out << "Base de dados criada: " << path << " (dia " << day.toString(Qt::ISODate) << ")\n"
                << "  " << summary.clients << " clientes, " << summary.cases << " dossiers, " << summary.workItems
                << " trabalhos, " << summary.tasks << " tarefas (" << summary.pendingTasks << " pendentes), "
                << summary.entries << " lançamentos, " << summary.running << " em curso\n"
                << "  em " << QString::number(double(timer.elapsed()) / 1000.0, 'f', 2) << " s\n";
        }
        tools::DemoSettings::write(QStringLiteral("DEMO"), path, tools::DemoOffice::catalog(),
                                   tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword());
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
