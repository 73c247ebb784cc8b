#include "session/translations.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace session {
namespace {

// Debian's European Portuguese catalogue was made before Qt took the standard buttons' texts into a
// context of their own; without these the buttons of every dialog would read "Yes", "Cancel", "Save".
// The Brazilian catalogue has them, but speaks another Portuguese ("Salvar", "Arquivo").
class StandardButtons : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QPlatformTheme") != 0) {
            return {};
        }
        static const QHash<QByteArray, QString> texts{
            {"OK", QStringLiteral("OK")},
            {"Save", QStringLiteral("Guardar")},
            {"Save All", QStringLiteral("Guardar tudo")},
            {"Open", QStringLiteral("Abrir")},
            {"&Yes", QStringLiteral("&Sim")},
            {"Yes to &All", QStringLiteral("Sim para &todos")},
            {"&No", QStringLiteral("&Não")},
            {"N&o to All", QStringLiteral("Nã&o para todos")},
            {"Abort", QStringLiteral("Abortar")},
            {"Retry", QStringLiteral("Tentar novamente")},
            {"Ignore", QStringLiteral("Ignorar")},
            {"Close", QStringLiteral("Fechar")},
            {"Cancel", QStringLiteral("Cancelar")},
            {"Discard", QStringLiteral("Descartar")},
            {"Help", QStringLiteral("Ajuda")},
            {"Apply", QStringLiteral("Aplicar")},
            {"Reset", QStringLiteral("Repor")},
            {"Restore Defaults", QStringLiteral("Repor predefinições")},
        };
        return texts.value(QByteArray(sourceText));
    }

    bool isEmpty() const override { return false; }
};

} // namespace

int installPortugueseTranslations(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    QCoreApplication::installTranslator(new StandardButtons(&app));
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QStringLiteral("qt_pt_PT"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return 0;
    }
    QCoreApplication::installTranslator(catalogue);
    return 1;
}

} // namespace session
