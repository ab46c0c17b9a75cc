// The COM transport against the COM session simulator, as a Windows program would meet it.
#include "ComSimDriver.h"

#include "base/TarnWaveError.h"
#include "session/TarnWave_TLB.h"
#include "session/com/ComSessionTransport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString Session = QString::fromLatin1(TarnWave_TLB::SessionProgId);
const QString Config = QString::fromLatin1(TarnWave_TLB::SetupConfigProgId);

struct Event
{
    QString name;
    QVariantList args;
};

QList<Event> eventsOf(const QSignalSpy &spy)
{
    QList<Event> events;
    for (const QVariantList &signal : spy)
        events.append({signal.at(1).toString(), signal.at(2).toList()});
    return events;
}

QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const TarnWaveError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

class TestComTransport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString output;
        QVERIFY2(ComSimDriver::registerServer(&output), qPrintable(output));
    }
    void init()
    {
        m_sim = std::make_unique<ComSimDriver>();
        m_sim->quitAll();
        QVERIFY(!m_sim->isServing());
    }
    void cleanup()
    {
        m_sim->quitAll();
        m_sim.reset();
    }

    void startsByProgIdWhenNotRunning()
    {
        ComSessionTransport transport;
        transport.attachOrStart(Session);
        QVERIFY(m_sim->connectPipe());
        const QVariant callsign = transport.readProperty(Config, QStringLiteral("Callsign"));
        QCOMPARE(callsign.metaType(), QMetaType::fromType<QString>());
        QCOMPARE(callsign.toString(), QStringLiteral("N0CALL"));
    }

    void attachesToTheRunningInstance()
    {
        QVERIFY(m_sim->startOwn({QStringLiteral("callsign ATT4CH")}));
        ComSessionTransport transport;
        transport.attachOrStart(Config);
        QCOMPARE(transport.readProperty(Config, QStringLiteral("Callsign")).toString(), QStringLiteral("ATT4CH"));
    }

    void callsCarryTheirTypes()
    {
        ComSessionTransport transport;
        transport.attachOrStart(Session);
        QVERIFY(m_sim->connectPipe());
        m_sim->send(QStringLiteral("peers 3"));
        m_sim->send(QStringLiteral("tx on"));
        m_sim->send(QStringLiteral("callsign K1\\xe9\\u{1F4FB}"));
        QVERIFY(m_sim->sync());

        const QVariant peers = transport.readProperty(Session, QStringLiteral("NumPeers"));
        QCOMPARE(peers.metaType(), QMetaType::fromType<int>());
        QCOMPARE(peers.toInt(), 3);
        const QVariant transmitting = transport.readProperty(Session, QStringLiteral("Transmitting"));
        QCOMPARE(transmitting.metaType(), QMetaType::fromType<bool>());
        QCOMPARE(transmitting.toBool(), true);
        QCOMPARE(transport.readProperty(Config, QStringLiteral("Callsign")).toString(),
                 QStringLiteral("K1\u00e9\U0001F4FB"));

        // UTF-16 all the way: no 8-bit step loses the accent or the astral character.
        transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("h\u00e9llo \U0001F4FB\nB")});
        QVERIFY(m_sim->waitForLine(QStringLiteral("SendChatText h\u00e9llo \U0001F4FB\\nB")));
        transport.invoke(Session, QStringLiteral("Transmit"), {true});
        QVERIFY(m_sim->waitForLine(QStringLiteral("Transmit true")));
        transport.invoke(Session, QStringLiteral("Transmit"), {false});
        QVERIFY(m_sim->waitForLine(QStringLiteral("Transmit false")));
        QCOMPARE(errorOf([&] { transport.readProperty(Session, QStringLiteral("NoSuchThing")); })
                     .left(19),
                 QStringLiteral("NoSuchThing failed:"));
    }

    void allEventsInOrderWithTheirTypes()
    {
        ComSessionTransport transport;
        transport.subscribe(Session);
        QVERIFY(m_sim->connectPipe());
        QSignalSpy spy(&transport, &SessionTransport::eventReceived);
        int openBursts = 0;
        int outsideBurst = 0;
        connect(&transport, &SessionTransport::burstStarted, this, [&openBursts] { ++openBursts; });
        connect(&transport, &SessionTransport::burstFinished, this, [&openBursts] { --openBursts; });
        connect(&transport, &SessionTransport::eventReceived, this, [&] { outsideBurst += openBursts != 1; });
        const QStringList commands{
            QStringLiteral("closing"), QStringLiteral("dtmf 12#"), QStringLiteral("cd on"), QStringLiteral("rx on"),
            QStringLiteral("tx off"), QStringLiteral("ptt on"), QStringLiteral("connect W1AW Hiram 10.0.0.1"),
            QStringLiteral("disconnect W1AW"), QStringLiteral("station-list"), QStringLiteral("chat hi \\u{1F4FB}"),
            QStringLiteral("station-text QTH <b>x</b>"), QStringLiteral("alarm K1ABC -2"), QStringLiteral("link off"),
            QStringLiteral("serial 70000 -5")};
        for (const QString &command : commands)
            m_sim->send(command);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 14, 10000);
        QCOMPARE(outsideBurst, 0);
        QCOMPARE(openBursts, 0);

        const QList<Event> expected{
            {QStringLiteral("OnClosing"), {}},
            {QStringLiteral("OnDTMFString"), {QStringLiteral("12#")}},
            {QStringLiteral("OnCarrierDetect"), {true}},
            {QStringLiteral("OnRX"), {true}},
            {QStringLiteral("OnTX"), {false}},
            {QStringLiteral("OnPTT"), {true}},
            {QStringLiteral("OnConnected"), {QStringLiteral("W1AW"), QStringLiteral("Hiram"), QStringLiteral("10.0.0.1")}},
            {QStringLiteral("OnDisconnected"), {QStringLiteral("W1AW")}},
            {QStringLiteral("OnStationListReceived"), {}},
            {QStringLiteral("OnChatTextReceived"), {QStringLiteral("hi \U0001F4FB")}},
            {QStringLiteral("OnStationTextReceived"), {QStringLiteral("QTH <b>x</b>")}},
            {QStringLiteral("OnAlarm"), {QStringLiteral("K1ABC"), QVariant::fromValue<short>(-2)}},
            {QStringLiteral("OnLinkStatusChange"), {false}},
            {QStringLiteral("OnSerialStatus"), {70000, -5}},
        };
        const QList<Event> got = eventsOf(spy);
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(got.at(i).name, expected.at(i).name);
            QCOMPARE(got.at(i).args.size(), expected.at(i).args.size());
            for (qsizetype a = 0; a < expected.at(i).args.size(); ++a) {
                QCOMPARE(got.at(i).args.at(a).metaType(), expected.at(i).args.at(a).metaType());
                QCOMPARE(got.at(i).args.at(a), expected.at(i).args.at(a));
            }
            QCOMPARE(spy.at(i).at(0).toString(), Session);
        }
    }

    void oddEventsAreIgnored_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("DISPID 0") << QStringLiteral("raw-dispid 0");
        QTest::newRow("DISPID -1") << QStringLiteral("raw-dispid -1 s:x");
        QTest::newRow("DISPID unknown") << QStringLiteral("raw-dispid 99 b:true");
        QTest::newRow("too few") << QStringLiteral("raw OnConnected s:W1AW");
        QTest::newRow("too many") << QStringLiteral("raw OnRX b:true b:false");
        QTest::newRow("none wanted") << QStringLiteral("raw OnClosing s:x");
        QTest::newRow("no boolean") << QStringLiteral("raw OnRX s:hello");
        QTest::newRow("beyond 16 bits") << QStringLiteral("raw OnAlarm s:K1ABC i:70000");
    }
    void oddEventsAreIgnored()
    {
        QFETCH(QString, command);
        ComSessionTransport transport;
        transport.subscribe(Session);
        QVERIFY(m_sim->connectPipe());
        QSignalSpy spy(&transport, &SessionTransport::eventReceived);
        m_sim->send(command);
        m_sim->send(QStringLiteral("chat after"));
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), 5000);
        QTest::qWait(200);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("OnChatTextReceived"));
    }

    void closingUnadvisesAndLeavesTheServerRunning()
    {
        auto transport = std::make_unique<ComSessionTransport>();
        transport->attachOrStart(Session);
        QVERIFY(m_sim->connectPipe());
        transport->subscribe(Session);
        QSignalSpy spy(transport.get(), &SessionTransport::eventReceived);
        QVERIFY(m_sim->waitForLineStartingWith(QStringLiteral("Advise ")));
        transport->unsubscribe(Session);
        QVERIFY(m_sim->waitForLineStartingWith(QStringLiteral("Unadvise ")));
        m_sim->send(QStringLiteral("chat unheard"));
        QVERIFY(m_sim->sync());
        QTest::qWait(200);
        QCOMPARE(spy.size(), 0);
        // Releasing the objects never asks the server to quit.
        transport.reset();
        QTest::qWait(500);
        QVERIFY(m_sim->sync());
    }

    void hungServerIsBounded()
    {
        ComSessionTransport transport;
        transport.attachOrStart(Session);
        QVERIFY(m_sim->connectPipe());
        m_sim->send(QStringLiteral("hang 6000"));
        QTest::qWait(300);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(errorOf([&] { transport.readProperty(Session, QStringLiteral("NumPeers")); }),
                 QStringLiteral("The session server did not answer NumPeers within 3 seconds"));
        QVERIFY2(timer.elapsed() >= 2900 && timer.elapsed() < 4500, qPrintable(QString::number(timer.elapsed())));
        // Once it answers again, so do the calls.
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->sync(), 10000);
        QCOMPARE(transport.readProperty(Session, QStringLiteral("NumPeers")).toInt(), 0);
    }

    void killedServerIsReportedPlainly()
    {
        QVERIFY(m_sim->startOwn({}));
        ComSessionTransport transport;
        transport.subscribe(Session);
        m_sim->kill();
        QCOMPARE(errorOf([&] { transport.readProperty(Session, QStringLiteral("NumPeers")); }),
                 QStringLiteral("NumPeers failed: the session server is not running"));
        QCOMPARE(errorOf([&] { transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("x")}); }),
                 QStringLiteral("SendChatText failed: the session server is not running"));
        // Closing still goes through.
        transport.unsubscribe(Session);
    }

    void unregisteredProgIdGivesComsOwnWords()
    {
        ComSessionTransport transport;
        QCOMPARE(errorOf([&] { transport.attachOrStart(QStringLiteral("TarnWave.NoSuchObject")); }),
                 QStringLiteral("Invalid class string"));
    }

private:
    std::unique_ptr<ComSimDriver> m_sim;
};

QTEST_GUILESS_MAIN(TestComTransport)
#include "tst_comtransport.moc"
