#include "FakeSessionTransport.h"

#include "session/TTarnWaveSession.h"
#include "session/TarnWave_TLB.h"

#include <QFile>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QTest>

#include <memory>
#include <vector>

// Dispatch by identifier: every known event with the right arguments reaches its signal;
// anything else is dropped without a trace.
class TestTTarnWaveSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dispatch_data();
    void dispatch();
    void eventsByNameOnlyWhileConnected();
    void wrapperDefaults();
    void objectAddresses();
    void eventTableMatchesInterfaceXml();
};

void TestTTarnWaveSession::dispatch_data()
{
    QTest::addColumn<int>("dispId");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QByteArray>("signal");   // empty: nothing may be emitted

    const QString s = QStringLiteral("x");
    QTest::newRow("closing") << 1 << QVariantList{} << QByteArray("OnClosing()");
    QTest::newRow("dtmf") << 2 << QVariantList{s} << QByteArray("OnDTMFString(QString)");
    QTest::newRow("carrier") << 3 << QVariantList{true} << QByteArray("OnCarrierDetect(bool)");
    QTest::newRow("rx") << 4 << QVariantList{true} << QByteArray("OnRX(bool)");
    QTest::newRow("tx") << 5 << QVariantList{false} << QByteArray("OnTX(bool)");
    QTest::newRow("ptt") << 6 << QVariantList{true} << QByteArray("OnPTT(bool)");
    QTest::newRow("connected") << 7 << QVariantList{s, s, s}
                               << QByteArray("OnConnected(QString,QString,QString)");
    QTest::newRow("disconnected") << 8 << QVariantList{s} << QByteArray("OnDisconnected(QString)");
    QTest::newRow("station list") << 9 << QVariantList{} << QByteArray("OnStationListReceived()");
    QTest::newRow("chat") << 10 << QVariantList{s} << QByteArray("OnChatTextReceived(QString)");
    QTest::newRow("station text") << 11 << QVariantList{s}
                                  << QByteArray("OnStationTextReceived(QString)");
    QTest::newRow("alarm") << 12 << QVariantList{s, QVariant::fromValue<short>(3)}
                           << QByteArray("OnAlarm(QString,short)");
    QTest::newRow("link") << 13 << QVariantList{true} << QByteArray("OnLinkStatusChange(bool)");
    QTest::newRow("serial") << 14 << QVariantList{1, 2} << QByteArray("OnSerialStatus(int,int)");

    QTest::newRow("id 0") << 0 << QVariantList{} << QByteArray();
    QTest::newRow("id -1") << -1 << QVariantList{} << QByteArray();
    QTest::newRow("id 15") << 15 << QVariantList{s} << QByteArray();
    QTest::newRow("huge id") << 0x7fffffff << QVariantList{} << QByteArray();
    QTest::newRow("rx with a string") << 4 << QVariantList{s} << QByteArray();
    QTest::newRow("rx without argument") << 4 << QVariantList{} << QByteArray();
    QTest::newRow("chat with two") << 10 << QVariantList{s, s} << QByteArray();
    QTest::newRow("connected short") << 7 << QVariantList{s, s} << QByteArray();
    QTest::newRow("alarm with int status") << 12 << QVariantList{s, 3} << QByteArray();
    QTest::newRow("closing with argument") << 1 << QVariantList{true} << QByteArray();
}

void TestTTarnWaveSession::dispatch()
{
    QFETCH(int, dispId);
    QFETCH(QVariantList, args);
    QFETCH(QByteArray, signal);

    FakeSessionTransport transport;
    TTarnWaveSession wrapper(transport);
    int emitted = 0;
    QByteArray emittedSignal;
    const QMetaObject *meta = wrapper.metaObject();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            spies.push_back(std::make_unique<QSignalSpy>(&wrapper, method));
    }
    wrapper.dispatchEvent(dispId, args);
    for (const auto &spy : spies) {
        if (!spy->isEmpty()) {
            emitted += spy->count();
            emittedSignal = spy->signal();
        }
    }

    if (signal.isEmpty()) {
        QCOMPARE(emitted, 0);
    } else {
        QCOMPARE(emitted, 1);
        QCOMPARE(emittedSignal, signal);
    }
}

void TestTTarnWaveSession::eventsByNameOnlyWhileConnected()
{
    FakeSessionTransport transport;
    TTarnWaveSession wrapper(transport);
    QSignalSpy chat(&wrapper, &TTarnWaveSession::OnChatTextReceived);

    Q_EMIT transport.eventReceived(QString::fromLatin1(TarnWave_TLB::SessionProgId),
                                   QStringLiteral("OnChatTextReceived"), {QStringLiteral("early")});
    QCOMPARE(chat.count(), 0);

    wrapper.Connect();
    QVERIFY(transport.subscriptions.contains(QString::fromLatin1(TarnWave_TLB::SessionProgId)));
    transport.fire(QStringLiteral("OnChatTextReceived"), {QStringLiteral("hello")});
    transport.fire(QStringLiteral("OnNoSuchEvent"), {QStringLiteral("ignored")});
    QCOMPARE(chat.count(), 1);
    QCOMPARE(chat.at(0).at(0).toString(), QStringLiteral("hello"));

    wrapper.Disconnect();
    QVERIFY(transport.subscriptions.isEmpty());
    Q_EMIT transport.eventReceived(QString::fromLatin1(TarnWave_TLB::SessionProgId),
                                   QStringLiteral("OnChatTextReceived"), {QStringLiteral("late")});
    QCOMPARE(chat.count(), 1);
}

void TestTTarnWaveSession::wrapperDefaults()
{
    FakeSessionTransport transport;
    const TTarnWaveSession wrapper(transport);
    QCOMPARE(wrapper.ConnectKind(), TTarnWaveSession::TConnectKind::ckRunningOrNew);
    QVERIFY(!wrapper.AutoConnect());
    QVERIFY(!wrapper.AutoQuit());
    QVERIFY(!wrapper.isConnected());
}

void TestTTarnWaveSession::objectAddresses()
{
    QCOMPARE(TarnWave_TLB::objectPath(u"TarnWave.TarnwaveSession"), QStringLiteral("/TarnWave/TarnwaveSession"));
    QCOMPARE(TarnWave_TLB::objectPath(u"TarnWave.SetupConfig"), QStringLiteral("/TarnWave/SetupConfig"));
    QCOMPARE(TarnWave_TLB::busName(u"TarnWave.SetupConfig"), QStringLiteral("TarnWave.SetupConfig"));
}

// The table and the published interface must not drift apart: a signal whose signature differs
// from the table would be dropped silently.
void TestTTarnWaveSession::eventTableMatchesInterfaceXml()
{
    QFile file(QStringLiteral(TARNWAVE_SESSION_INTERFACE_XML));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList fromXml;
    QString signal;
    QString signature;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("signal")) {
            signal = xml.attributes().value(QLatin1String("name")).toString();
            signature.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("arg") && !signal.isEmpty()) {
            signature += xml.attributes().value(QLatin1String("type"));
        } else if (xml.isEndElement() && xml.name() == QLatin1String("signal")) {
            fromXml << signal + QLatin1Char('(') + signature + QLatin1Char(')');
            signal.clear();
        }
    }
    QVERIFY(!xml.hasError());

    QStringList fromTable;
    for (const TarnWave_TLB::EventEntry &entry : TarnWave_TLB::EventTable)
        fromTable << QString::fromLatin1(entry.name) + QLatin1Char('(') + QLatin1String(entry.signature) + QLatin1Char(')');
    QCOMPARE(fromTable, fromXml);
}

QTEST_GUILESS_MAIN(TestTTarnWaveSession)
#include "tst_ttarnwavesession.moc"
