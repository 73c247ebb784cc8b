#include "scramble/modencriptserial.h"

#include "core/errorreport.h"
#include "scramble/cp1252.h"
#include "scramble/volumeserialsource.h"

#include <QList>

#include <array>
#include <optional>
#include <utility>

namespace scramble::modEncriptSerial {

QString VolumeSerial;

namespace {

// The sums that are not stored as the character of the same code, each with the code stored in its place,
// in the order of those codes (248 to 255).
constexpr std::array<std::pair<int, int>, 8> SpecialCodes{{
    {157, 248},
    {36, 249},
    {144, 250},
    {143, 251},
    {141, 252},
    {35, 253},
    {127, 254},
    {129, 255},
}};

core::ReportLabels labels(const QString& procedure)
{
    return {QStringLiteral("EncriptSerial"),
            QStringLiteral("EncriptSerial"),
            QStringLiteral("modEncriptSerial"),
            procedure,
            core::Rule::B,
            core::TextForm::Description};
}

// The key codes, one per character of VolumeSerial, which is read first when still empty.
QList<int> keyCodes()
{
    if (VolumeSerial.isEmpty()) {
        GetSerialNumber();
    }
    QList<int> codes;
    for (const QChar c : std::as_const(VolumeSerial)) {
        codes.append(cp1252::code(c));
    }
    return codes;
}

// Applies shift(code, key code) to every character, the key restarting after its last character.
// An empty key shifts by 0.
template <typename Shift> QString shifted(QString s, Shift&& shift)
{
    const QList<int> key = keyCodes();
    qsizetype k = 0;
    for (QChar& c : s) {
        k = k < key.size() ? k + 1 : 1;
        const int code = shift(cp1252::code(c), k <= key.size() ? key.at(k - 1) : 0);
        if (code < 0 || code > 255) {
            throw core::standardError(core::errc::InvalidProcedureCall);
        }
        c = cp1252::character(code);
    }
    return s;
}

} // namespace

QString EncriptSerial(QString s)
{
    QString scrambled;
    core::trap(labels(QStringLiteral("EncriptSerial")), [&] {
        scrambled = shifted(std::move(s), [](int code, int key) {
            const int sum = code + key;
            for (const auto& [special, stored] : SpecialCodes) {
                if (sum == special) {
                    return stored;
                }
            }
            return sum;
        });
    });
    return scrambled;
}

QString DencriptSerial(QString s)
{
    QString plain;
    core::trap(labels(QStringLiteral("DencriptSerial")), [&] {
        plain = shifted(std::move(s), [](int code, int key) {
            const int first = SpecialCodes.front().second;
            return (code >= first ? SpecialCodes.at(std::size_t(code - first)).first : code) - key;
        });
    });
    return plain;
}

QString GetSerialNumber()
{
    QString drive = QStringLiteral("C");
    VolumeSerial = ObterInfoDrive(drive);
    return VolumeSerial;
}

QString ObterInfoDrive(QString& drive)
{
    QString serial;
    core::trap(labels(QStringLiteral("ObterInfoDrive")), [&] {
        drive = drive.trimmed().left(1) + QStringLiteral(":\\");
        serial = QString::number(volumeSerialSource().serialNumber(drive).value_or(0));
    });
    return serial;
}

} // namespace scramble::modEncriptSerial
