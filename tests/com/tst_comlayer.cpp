// The COM layer without a server: error wording, holders, argument coercion, the event sink.
#include "session/com/ComBstr.h"
#include "session/com/ComError.h"
#include "session/com/ComFailureText.h"
#include "session/com/ComPtr.h"
#include "session/com/EventArguments.h"
#include "session/com/EventSink.h"
#include "session/com/VariantConversion.h"

#include <QTest>

#include <olectl.h>

namespace {

QString messageOf(const ComError &error, const QString &what, int boundMs)
{
    return comFailureText(error, what, boundMs);
}

// A server's deferred fill-in; COM calls it with the Windows calling convention, which on
// 32-bit Windows a lambda does not have.
HRESULT STDMETHODCALLTYPE fillInDescription(EXCEPINFO *deferred)
{
    deferred->bstrDescription = SysAllocString(L"Radio busy \u00e9\r\n");
    return S_OK;
}

ComVariant variantOf(const QVariant &value)
{
    return VariantConversion::fromQVariant(value);
}

// {5D1E0C1A-0B7E-4C55-9A43-2B8E2E3F0A11}: any IID the sink is told to answer.
const IID SomeSource = {0x5d1e0c1a, 0x0b7e, 0x4c55, {0x9a, 0x43, 0x2b, 0x8e, 0x2e, 0x3f, 0x0a, 0x11}};

// Counts its references and never frees itself, so a test can read the count at any time.
class CountedObject : public IUnknown
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid != IID_IUnknown) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 0;
};

} // namespace

class TestComLayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorMessage_data()
    {
        QTest::addColumn<int>("code"); // an HRESULT
        QTest::addColumn<int>("boundMs");
        QTest::addColumn<QString>("expected");
        const QString gone = QStringLiteral("NumPeers failed: the session server is not running");
        QTest::newRow("disconnected") << int(RPC_E_DISCONNECTED) << 3000 << gone;
        QTest::newRow("server unavailable") << int(HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)) << 3000 << gone;
        QTest::newRow("call failed") << int(HRESULT_FROM_WIN32(RPC_S_CALL_FAILED)) << 3000 << gone;
        QTest::newRow("object not connected") << int(CO_E_OBJNOTCONNECTED) << 3000 << gone;
        QTest::newRow("invalid object") << int(RPC_E_INVALID_OBJECT) << 3000 << gone;
        const QString busy = QStringLiteral("The session server is busy and did not take NumPeers within 3 seconds");
        QTest::newRow("retry later") << int(RPC_E_SERVERCALL_RETRYLATER) << 3000 << busy;
        QTest::newRow("call rejected") << int(RPC_E_CALL_REJECTED) << 3000 << busy;
        QTest::newRow("overran") << int(RPC_E_TIMEOUT) << 3000
                                 << QStringLiteral("The session server did not answer NumPeers within 3 seconds");
        QTest::newRow("cancelled, activation bound") << int(RPC_E_CALL_CANCELED) << 30000
                                 << QStringLiteral("The session server did not answer NumPeers within 30 seconds");
        QTest::newRow("unregistered ProgID") << int(CO_E_CLASSSTRING) << 3000 << QStringLiteral("Invalid class string");
        QTest::newRow("unknown name, with its code")
            << int(DISP_E_UNKNOWNNAME) << 3000 << QStringLiteral("NumPeers failed: Unknown name. (0x80020006)");
        QTest::newRow("a code nobody knows") << int(0xA0041234) << 3000
                                             << QStringLiteral("NumPeers failed: error 0xA0041234");
    }
    void errorMessage()
    {
        QFETCH(int, code);
        QFETCH(int, boundMs);
        QFETCH(QString, expected);
        QCOMPARE(messageOf(ComError(code), QStringLiteral("NumPeers"), boundMs), expected);
    }

    void serverDescriptionWins()
    {
        // A deferred description is filled in; the server's own code replaces DISP_E_EXCEPTION.
        EXCEPINFO info{};
        info.scode = E_ACCESSDENIED;
        info.pfnDeferredFillIn = fillInDescription;
        const ComError error = ComError::fromException(DISP_E_EXCEPTION, info);
        QCOMPARE(error.code(), HRESULT(E_ACCESSDENIED));
        QCOMPARE(messageOf(error, QStringLiteral("SendChatText"), 3000), QStringLiteral("SendChatText failed: Radio busy \u00e9"));
        QVERIFY(!info.bstrDescription);
        // A server that has gone is still said plainly, whatever else came with it.
        QCOMPARE(messageOf(ComError(RPC_E_DISCONNECTED, L"x"), QStringLiteral("Transmit"), 3000),
                 QStringLiteral("Transmit failed: the session server is not running"));
    }

    void pointerReferencesBalance()
    {
        CountedObject object;
        {
            const ComPtr<IUnknown> shared(&object);
            QCOMPARE(object.references, 1u);
            ComPtr<IUnknown> copy = shared;
            ComPtr<IUnknown> queried;
            QCOMPARE(shared.query(IID_IUnknown, queried), S_OK);
            QCOMPARE(object.references, 3u);
            // detach() hands its reference on, as an out parameter expects: no Release.
            IUnknown *handedOut = copy.detach();
            QVERIFY(!copy);
            QCOMPARE(object.references, 3u);
            ComPtr<IUnknown> adopted = ComPtr<IUnknown>::adopt(handedOut);
            QCOMPARE(object.references, 3u);
            // put() drops what it held before the callee writes.
            *queried.putVoid() = nullptr;
            QCOMPARE(object.references, 2u);
        }
        QCOMPARE(object.references, 0u);
    }

    void bstrKeepsUtf16()
    {
        const std::wstring text(L"a\0b\U0001F4FB", 5);
        ComBstr original(text);
        ComBstr copy(original);
        QCOMPARE(SysStringLen(copy.get()), 5u);
        QVERIFY(copy.get() != original.get());
        QVERIFY(copy.view() == text);
        const QString back = VariantConversion::fromWide(copy.view());
        QCOMPARE(back, QStringLiteral("a") + QChar(0) + QStringLiteral("b\U0001F4FB"));
        QVERIFY(VariantConversion::toWide(back) == text);
    }

    void toQVariant_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("string") << QVariant(QStringLiteral("K1ABC \U0001F4FB")) << QVariant(QStringLiteral("K1ABC \U0001F4FB"));
        QTest::newRow("short") << QVariant::fromValue<short>(-7) << QVariant::fromValue<short>(-7);
        QTest::newRow("nothing") << QVariant() << QVariant();
        QTest::newRow("a number as text") << QVariant(1.5) << QVariant(QStringLiteral("1.5"));
    }
    void toQVariant()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        const QVariant back = VariantConversion::toQVariant(variantOf(value));
        QCOMPARE(back.metaType(), expected.metaType());
        QCOMPARE(back, expected);
    }

    void referencesAreFollowed()
    {
        LONG target = 42;
        VARIANT byRef;
        VariantInit(&byRef);
        V_VT(&byRef) = VT_I4 | VT_BYREF;
        V_I4REF(&byRef) = &target;
        const ComVariant copy = ComVariant::copyOf(byRef);
        target = 0;
        QCOMPARE(VariantConversion::toQVariant(copy), QVariant(42));
    }

    void coerce_data()
    {
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariantList>("expected"); // empty with a non-empty signature: dropped
        const QVariantList dropped;
        QTest::newRow("none") << QByteArray("") << QVariantList{} << QVariantList{};
        QTest::newRow("32-bit into 16-bit") << QByteArray("sn") << QVariantList{QStringLiteral("K1"), 5}
                                            << QVariantList{QStringLiteral("K1"), QVariant::fromValue<short>(5)};
        QTest::newRow("16-bit into 32-bit") << QByteArray("ii") << QVariantList{QVariant::fromValue<short>(-3), 70000}
                                            << QVariantList{-3, 70000};
        QTest::newRow("number into string") << QByteArray("s") << QVariantList{12} << QVariantList{QStringLiteral("12")};
        QTest::newRow("number into bool") << QByteArray("b") << QVariantList{1} << QVariantList{true};
        QTest::newRow("text into bool") << QByteArray("b") << QVariantList{QStringLiteral("False")} << QVariantList{false};
        QTest::newRow("out of 16-bit range") << QByteArray("sn") << QVariantList{QStringLiteral("K1"), 70000} << dropped;
        QTest::newRow("no number") << QByteArray("b") << QVariantList{QStringLiteral("hello")} << dropped;
        QTest::newRow("too few") << QByteArray("sss") << QVariantList{QStringLiteral("a")} << dropped;
        QTest::newRow("too many") << QByteArray("b") << QVariantList{true, false} << dropped;
        QTest::newRow("extra for none") << QByteArray("") << QVariantList{1} << dropped;
    }
    void coerce()
    {
        QFETCH(QByteArray, signature);
        QFETCH(QVariantList, args);
        QFETCH(QVariantList, expected);
        std::vector<ComVariant> values;
        for (const QVariant &arg : std::as_const(args))
            values.push_back(variantOf(arg));
        const bool kept = EventArguments::coerce(values, signature.toStdString());
        QCOMPARE(kept, !expected.isEmpty() || (signature.isEmpty() && args.isEmpty()));
        if (!kept)
            return;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const QVariant got = VariantConversion::toQVariant(values[i]);
            QCOMPARE(got.metaType(), expected.at(qsizetype(i)).metaType());
            QCOMPARE(got, expected.at(qsizetype(i)));
        }
    }

    void sinkAnswersItsInterfacesAndReversesArguments()
    {
        std::vector<std::pair<DISPID, QVariantList>> seen;
        ComPtr<EventSink> sink = EventSink::create([&seen](DISPID id, std::vector<ComVariant> args) {
            QVariantList values;
            for (const ComVariant &arg : args)
                values.append(VariantConversion::toQVariant(arg));
            seen.emplace_back(id, values);
        });
        sink->setSourceInterface(SomeSource);
        for (const IID &iid : {IID_IUnknown, IID_IDispatch, SomeSource}) {
            ComPtr<IUnknown> answered;
            QCOMPARE(sink->QueryInterface(iid, reinterpret_cast<void **>(answered.put())), S_OK);
        }
        ComPtr<IUnknown> refused;
        QCOMPARE(sink->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void **>(refused.put())),
                 E_NOINTERFACE);

        // OnConnected("W1AW", "Hiram", "10.0.0.1") as COM passes it: last argument first.
        std::vector<ComVariant> reversed;
        reversed.push_back(ComVariant::fromText(L"10.0.0.1"));
        reversed.push_back(ComVariant::fromText(L"Hiram"));
        reversed.push_back(ComVariant::fromText(L"W1AW"));
        std::vector<VARIANT> raw;
        for (ComVariant &arg : reversed)
            raw.push_back(*arg.get());
        DISPPARAMS params{raw.data(), nullptr, UINT(raw.size()), 0};
        QCOMPARE(sink->Invoke(7, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
        QCOMPARE(seen.size(), 1u);
        QCOMPARE(seen.front().first, DISPID(7));
        QCOMPARE(seen.front().second,
                 (QVariantList{QStringLiteral("W1AW"), QStringLiteral("Hiram"), QStringLiteral("10.0.0.1")}));

        sink->detach();
        QCOMPARE(sink->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
        QCOMPARE(seen.size(), 1u);
    }
};

QTEST_GUILESS_MAIN(TestComLayer)
#include "tst_comlayer.moc"
