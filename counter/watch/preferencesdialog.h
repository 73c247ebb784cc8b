#pragma once

#include "counter/watch/preferences.h"

#include <QDialog>

#include <functional>

class QSpinBox;
class QTimeEdit;

namespace counter {

// "Preferências": the lawyer's reminder settings, shown filled from Preferences::load and saved on OK. Each
// number at 0 turns its reminder off.
class frmPreferencias : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreferencias(QWidget* parent = nullptr);

    Preferences values() const;

    // Shows the dialog; on OK saves the values and returns them, nothing when cancelled or not saved.
    static std::optional<Preferences> edit(QWidget* parent);

    // Seam for tests: runs the shown dialog and returns its result (default QDialog::exec).
    static void setRunner(std::function<int(frmPreferencias&)> runner);

private:
    QSpinBox* m_absence;
    QSpinBox* m_longCount;
    QSpinBox* m_silent;
    QTimeEdit* m_dayStart;
    QTimeEdit* m_dayEnd;
};

} // namespace counter
