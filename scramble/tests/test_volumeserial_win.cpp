// The scrambling key on Windows is the serial number of drive C: as Windows itself gives it. Built only for Windows.
#include "scramble/modencriptserial.h"
#include "scramble/volumeserialsource.h"

#include <QTest>

#include <windows.h>

class TestVolumeSerialWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serialOfDriveC()
    {
        DWORD serial = 0;
        QVERIFY(GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
        QCOMPARE(scramble::volumeSerialSource().serialNumber(QStringLiteral("C:\\")), qint32(serial));
        QCOMPARE(scramble::modEncriptSerial::GetSerialNumber(), QString::number(qint32(serial)));
        QCOMPARE(scramble::volumeSerialSource().serialNumber(QStringLiteral("Q:\\")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestVolumeSerialWindows)
#include "test_volumeserial_win.moc"
