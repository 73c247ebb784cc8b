#pragma once

class QCoreApplication;

namespace session {

// Installs Qt's own Portuguese translations (Debian's qt6-translations-l10n), so that standard buttons
// and dialogs read "Sim", "Não", "Cancelar" whatever the machine's locale. European Portuguese is used
// where Qt has it, Brazilian Portuguese fills the rest. Returns how many catalogues were loaded (0 when
// the package is missing: the buttons then stay in English and nothing else changes).
int installPortugueseTranslations(QCoreApplication& app);

} // namespace session
