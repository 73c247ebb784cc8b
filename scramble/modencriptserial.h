#pragma once

#include <QString>

// The reversible scrambling of stored and handed-over passwords, keyed by the workstation's volume serial number:
// each character is shifted by the code of one key character, the key repeating every K characters. A scrambled
// text unscrambles only with the same key, i.e. on the same workstation. Errors are reported as "EncriptSerial"
// errors and give "".
namespace scramble::modEncriptSerial {

// The key: the serial number of drive C: as signed decimal text ("-1234567890", "0"). Empty until first needed,
// then kept for the life of the process. Tests assign it to choose the key.
extern QString VolumeSerial;

// The scrambled text. "" (reported) when a character's code plus its key code is above 255, which happens only
// for characters whose code is 199 or more.
QString EncriptSerial(QString s);

// The text scrambled by EncriptSerial, for every text whose character codes are below 191. "" (reported) when a
// character's code minus its key code is below 0, i.e. s was not scrambled with this key.
QString DencriptSerial(QString s);

// Reads the serial number of drive C:, keeps it in VolumeSerial and returns it; "0" when it cannot be read.
QString GetSerialNumber();

// The serial number of a drive as signed decimal text, "0" when it cannot be read. drive becomes its root path:
// its first character followed by ":\". "" (reported) when the source fails otherwise.
QString ObterInfoDrive(QString& drive);

} // namespace scramble::modEncriptSerial
