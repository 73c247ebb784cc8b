// DencriptSerial refuses or unscrambles any text, and unscrambles what EncriptSerial made back to itself.
#include "fuzz/fuzzsupport.h"
#include "scramble/cp1252.h"
#include "scramble/modencriptserial.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::quietReports();
    namespace serial = scramble::modEncriptSerial;
    if (size < 5) {
        return 0;
    }
    // The first four bytes are the drive's serial number, the key; the fifth says how the rest is read.
    qint32 number = 0;
    std::memcpy(&number, data, sizeof number);
    const bool anyKey = data[4] & 1;
    const std::uint8_t* rest = data + 5;
    const std::size_t length = size - 5;

    // Arbitrary stored text (UTF-16 as read from the registry), under the serial's key or an arbitrary one.
    const QString stored = QString::fromUtf16(reinterpret_cast<const char16_t*>(rest), qsizetype(length / 2));
    serial::VolumeSerial = anyKey ? fuzz::text(rest, length).left(16) : QString::number(number);
    if (serial::VolumeSerial.isEmpty()) {
        serial::VolumeSerial = QStringLiteral("0");
    }
    const QString plain = serial::DencriptSerial(stored);
    if (!plain.isEmpty() && plain.size() != stored.size()) {
        fuzz::broken("unscrambling keeps the length", stored, QString::number(stored.size()), plain);
    }

    // Every text of codes below 191 survives the round trip under the serial's key.
    serial::VolumeSerial = QString::number(number);
    QString text;
    for (std::size_t i = 0; i < length; ++i) {
        text += scramble::cp1252::character(rest[i] % 191);
    }
    const QString scrambled = serial::EncriptSerial(text);
    const QString back = serial::DencriptSerial(scrambled);
    if (back != text) {
        fuzz::broken("a scrambled text unscrambles to itself", text, text, back);
    }
    return 0;
}
