// The COM layer under the office's components: the reference holder, the conversions of texts and values to
// what automation carries, and the late-bound dispatcher, against the recording objects of the test component.
// Built only for Windows.
#include "core/com/bstr_win.h"
#include "core/com/comref_win.h"
#include "core/com/dispatcher_win.h"
#include "core/com/variant_win.h"
#include "core/errorvalue.h"
#include "testsupport/comcomponent_win.h"
#include "testsupport/thrown.h"

#include <QDateTime>
#include <QTest>

#include <limits>

using namespace core::com;

Q_DECLARE_METATYPE(VARTYPE)

namespace {

// The object's reference count, read by adding one and taking it back.
ULONG references(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int msec = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

const QString probeProgId = QStringLiteral("OrvTest.Recorder");

} // namespace

class TestComLayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every way a holder gets, shares, hands on and drops its reference leaves the object with what the holders
    // own, and gone when the last one goes.
    void referenceHolderBalances()
    {
        testsupport::ComComponentLog log;
        const auto newObject = [&log] { return testsupport::newRecordingObject(log, {QStringLiteral("Run")}); };
        {
            auto first = ComRef<IDispatch>::adopt(newObject());
            QCOMPARE(references(first.get()), ULONG(1));
            {
                ComRef<IDispatch> copy = first;
                QCOMPARE(references(first.get()), ULONG(2));
                ComRef<IDispatch> moved = std::move(copy);
                QVERIFY(!copy);
                QCOMPARE(references(first.get()), ULONG(2));
                auto shared = ComRef<IDispatch>::share(first.get());
                QCOMPARE(references(first.get()), ULONG(3));
                shared = moved; // the old reference released, a new one taken
                QCOMPARE(references(first.get()), ULONG(3));
                ComRef<IUnknown> unknown = first.query<IUnknown>(IID_IUnknown);
                QVERIFY(unknown);
                QCOMPARE(references(first.get()), ULONG(4));
                QVERIFY(!first.query<IClassFactory>(IID_IClassFactory));
            }
            QCOMPARE(references(first.get()), ULONG(1));
            // A dispatcher over an object handed over (not created by ProgID) calls it the same way; a call without
            // result gives nothing.
            QVERIFY(!Dispatcher(first).call(QStringLiteral("Run")).isValid());
            QCOMPARE(log.calls.size(), 1);
            QVERIFY(log.calls.first().arguments.isEmpty());
            // out() drops what was held before the call writes a new reference into it.
            ComRef<IDispatch> slot = ComRef<IDispatch>::adopt(newObject());
            QCOMPARE(log.alive, 2);
            *slot.out() = newObject();
            QCOMPARE(log.alive, 2);
            IDispatch* detached = slot.detach();
            QVERIFY(!slot);
            detached->Release();
            QCOMPARE(log.alive, 1);
        }
        QCOMPARE(log.alive, 0);
        QCOMPARE(log.created, 3);
    }

    // A text reaches automation whole: its length as stored (an embedded NUL included), letters outside ASCII,
    // and the empty text as an allocated empty string.
    void textsRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("null") << QString();
        QTest::newRow("empty") << QStringLiteral("");
        QTest::newRow("Portuguese") << QStringLiteral("Lançamento não gravado: João Conceição, «cliente»");
        QTest::newRow("embedded NUL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        QTest::newRow("beyond the BMP") << QStringLiteral("prazo \U0001F4C5 €");
    }
    void textsRoundTrip()
    {
        QFETCH(QString, text);
        Bstr string(text);
        QVERIFY(string.get() != nullptr);
        QCOMPARE(qsizetype(SysStringLen(string.get())), text.size());
        QCOMPARE(Bstr::toQString(string.get()), text);
        Variant value{QVariant(text)};
        QCOMPARE(V_VT(value.get()), VARTYPE(VT_BSTR));
        QCOMPARE(value.toQVariant().toString(), text);
    }

    // The value types the components exchange, as automation holds them and as they read back.
    void valuesConvert_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<VARTYPE>("type");
        QTest::addColumn<QVariant>("raw"); // as testsupport::rawValue reads it
        QTest::addColumn<QVariant>("back");

        // No value read back: the value itself.
        const auto row = [](const char* name, const QVariant& value, VARTYPE type, const QVariant& raw,
                            const QVariant& back = QVariant()) {
            QTest::newRow(name) << value << type << raw << (back.isValid() ? back : value);
        };
        const QVariant none;
        row("empty", none, VT_EMPTY, none);
        row("null", QVariant::fromValue(nullptr), VT_NULL, none);
        row("database NULL text", QVariant(QMetaType::fromType<QString>()), VT_NULL, none,
            QVariant::fromValue(nullptr));
        row("zero", 0, VT_I4, 0);
        row("lowest", std::numeric_limits<int>::min(), VT_I4, std::numeric_limits<int>::min());
        row("highest", std::numeric_limits<int>::max(), VT_I4, std::numeric_limits<int>::max());
        row("identifier from a query", qlonglong(4711), VT_I4, 4711, 4711);
        row("a price", 45.5, VT_R8, 45.5);
        row("true", true, VT_BOOL, -1);
        row("false", false, VT_BOOL, 0);
        // Automation's day 0 is 1899-12-30; before it the fraction still counts the time of day forwards.
        row("day zero", at(1899, 12, 30), VT_DATE, 0.0);
        row("noon of 1900-01-01", at(1900, 1, 1, 12), VT_DATE, 2.5);
        row("before day zero", at(1899, 12, 29, 6), VT_DATE, -1.25);
        row("a date alone", QDate(2000, 1, 1), VT_DATE, 36526.0, at(2000, 1, 1));
        const QDateTime moment = at(2026, 12, 7, 9, 30, 15, 250);
        row("to the millisecond", moment, VT_DATE,
            double(QDate(1899, 12, 30).daysTo(moment.date())) + (9 * 3600 + 30 * 60 + 15.25) / 86400.0);
    }
    void valuesConvert()
    {
        QFETCH(QVariant, value);
        QFETCH(VARTYPE, type);
        QFETCH(QVariant, raw);
        QFETCH(QVariant, back);
        Variant converted(value);
        QCOMPARE(V_VT(converted.get()), type);
        QCOMPARE(testsupport::rawValue(*converted.get()), raw);
        const QVariant read = converted.toQVariant();
        QCOMPARE(read.isNull(), back.isNull());
        QCOMPARE(read.typeId(), back.typeId());
        if (back.isValid() && !back.isNull()) {
            QCOMPARE(read, back);
        }
    }

    // What a component may hand back in other forms reads as the same values; what has no place here is refused.
    void foreignValues()
    {
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = VT_I2;
        V_I2(&value) = -7;
        QCOMPARE(Variant::toQVariant(value), QVariant(-7));
        V_VT(&value) = VT_UI1;
        V_UI1(&value) = 200;
        QCOMPARE(Variant::toQVariant(value), QVariant(200));
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = 1; // a component that writes 1 for true
        QCOMPARE(Variant::toQVariant(value), QVariant(true));
        LONG number = 42;
        V_VT(&value) = VT_I4 | VT_BYREF;
        V_I4REF(&value) = &number;
        QCOMPARE(Variant::toQVariant(value), QVariant(42));
        V_VT(&value) = VT_R4;
        V_R4(&value) = 1.5F;
        QCOMPARE(Variant::toQVariant(value), QVariant(1.5));
        V_VT(&value) = VT_CY;
        V_CY(&value).int64 = 15000;
        QCOMPARE(testsupport::thrown([&] { Variant::toQVariant(value); }).number, core::errc::TypeMismatch);

        QCOMPARE(testsupport::thrown([] { Variant(QVariant(qlonglong(1) << 31)); }).number, core::errc::Overflow);
        QCOMPARE(testsupport::thrown([] { Variant(QVariant(QByteArray("x"))); }).number, core::errc::TypeMismatch);
    }

    // A method called by name receives its arguments in their natural order and types, and its result comes
    // back; the object is created by its ProgID and released with the dispatcher.
    void dispatcherCallsByName()
    {
        testsupport::ComTestServer server;
        testsupport::ComComponentLog& log = server.log(probeProgId);
        log.result = 17;
        {
            Dispatcher object = Dispatcher::create(probeProgId);
            QCOMPARE(object.call("answer", {"João", 3, true, QVariant(), at(1900, 1, 1, 12)}), QVariant(17));
            QCOMPARE(log.alive, 1);
        }
        QCOMPARE(log.alive, 0);
        QCOMPARE(log.calls.size(), 1);
        const testsupport::ComCall& call = log.calls.first();
        QCOMPARE(call.method, QStringLiteral("Answer"));
        QCOMPARE(call.types, QList<VARTYPE>({VT_BSTR, VT_I4, VT_BOOL, VT_EMPTY, VT_DATE}));
        QCOMPARE(call.arguments, QVariantList({QStringLiteral("João"), 3, -1, QVariant(), 2.5}));
    }

    // The failures a caller meets, each with the number a handler reports and a description that says why.
    void dispatcherFailures()
    {
        testsupport::ComTestServer server;
        testsupport::ComComponentLog& log = server.log(probeProgId);
        const core::ErrorValue unregistered =
            testsupport::thrown([] { Dispatcher::create(QStringLiteral("OrvTest.NotRegistered")); });
        QCOMPARE(unregistered.number, core::errc::CannotCreateObject);
        QVERIFY2(unregistered.description.contains("OrvTest.NotRegistered"), qPrintable(unregistered.description));

        Dispatcher object = Dispatcher::create(probeProgId);
        QCOMPARE(testsupport::thrown([&] { object.call(QStringLiteral("Rport")); }).number, core::errc::NotSupported);
        QVERIFY(log.calls.isEmpty());

        log.raise = HRESULT(0x800A03E9); // a component's own error 1001
        log.raisedDescription = QStringLiteral("Sem ligação à base de dados");
        const core::ErrorValue raised = testsupport::thrown([&] { object.call(QStringLiteral("Report"), {"x"}); });
        QCOMPARE(raised.number, int(0x800A03E9));
        QCOMPARE(raised.description, QStringLiteral("Sem ligação à base de dados"));
    }
};

QTEST_GUILESS_MAIN(TestComLayer)
#include "test_comlayer_win.moc"
