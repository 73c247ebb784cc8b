#pragma once

class QCoreApplication;

namespace session {

// Makes European Portuguese the program's language whatever the machine's locale (LANG, LC_ALL): the
// default locale for dates, calendars and numbers becomes pt_PT, and Qt's own texts (dialogs, standard
// buttons) come from one European Portuguese catalogue, Debian's qt6-translations-l10n "qt_pt_PT", with
// the standard buttons' texts that catalogue predates. Returns how many catalogues were installed (1, or
// 0 when the package is missing: Qt's dialogs then keep their English texts and nothing else changes).
int installPortugueseTranslations(QCoreApplication& app);

} // namespace session
