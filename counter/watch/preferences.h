#pragma once

#include <QTime>

namespace counter {

// The lawyer's own settings of the reminders, kept per user under the user's key beside the remembered login
// (HKEY_CURRENT_USER\Software\Vorlent\Preferencias), one string value each.
struct Preferences {
    // Ask on return after an absence of at least this many minutes ("AusenciaMinutos"); 0 never asks.
    int absenceMinutes = 15;
    // A count running this many hours, or across midnight, is flagged ("ContagemLongaHoras"); 0 never.
    int longCountHours = 4;
    // Working days Monday to Friday between these hours ("HorarioInicio", "HorarioFim", "hh:mm") with nothing
    // counted for silentMinutes ("SemContagemMinutos"; 0 never) bring one reminder.
    QTime dayStart{9, 0};
    QTime dayEnd{19, 0};
    int silentMinutes = 30;

    // The stored values; each value missing or not readable keeps its default.
    static Preferences load();
    // Writes every value. False when the key cannot be made or a value written (the registry reports why).
    bool save() const;

    static QString key();
};

} // namespace counter
