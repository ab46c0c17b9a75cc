// The COM transport against the COM session simulator, as a Windows program would meet it.
#include "ComSimDriver.h"
#include "EventLoopDrain.h"

#include "base/TarnWaveError.h"
#include "session/TarnWave_TLB.h"
#include "session/com/ComSessionTransport.h"
#include "session/com/ServerWatch.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <windows.h>

#include <tlhelp32.h>

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

int threadsOfThisProcess()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

QStringList transmitsIn(const QStringList &lines)
{
    QStringList transmits;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Transmit ")))
            transmits.append(line);
    }
    return transmits;
}

const QString SendTimedOut = QStringLiteral("The session server did not answer SendChatText within 3 seconds");

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
        // An event is a call the simulator makes and waits for, so once its echo is back every
        // event has reached the transport; the event loop passes them on.
        QVERIFY(m_sim->sync());
        QVERIFY(drainEventLoop());
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
        QVERIFY(drainEventLoop());
        QCOMPARE(spy.size(), 0);
        // Releasing the objects never asks the server to quit: the releases are calls made
        // before the transport is gone, and the server still answers after them.
        transport.reset();
        QVERIFY(m_sim->sync());
    }

    void hungServerIsBounded()
    {
        ComSessionTransport transport;
        transport.attachOrStart(Session);
        QVERIFY(m_sim->connectPipe());
        m_sim->startHang(6000);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(errorOf([&] { transport.readProperty(Session, QStringLiteral("NumPeers")); }),
                 QStringLiteral("The session server did not answer NumPeers within 3 seconds"));
        QVERIFY2(timer.elapsed() >= 2900 && timer.elapsed() < 4500, qPrintable(QString::number(timer.elapsed())));
        // Once it answers again, so do the calls, as soon as the one that overran is back.
        QTRY_VERIFY_WITH_TIMEOUT(m_sim->sync(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(errorOf([&] { transport.readProperty(Session, QStringLiteral("NumPeers")); }),
                                  QStringLiteral("(no error)"), 3000);
        QCOMPARE(transport.readProperty(Session, QStringLiteral("NumPeers")).toInt(), 0);
    }

    void busyServerIsAskedAgain_data()
    {
        QTest::addColumn<int>("busyMs");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<int>("atMostMs");
        QTest::newRow("busy 1.5 s: taken once free") << 1500 << QStringLiteral("(no error)") << 1200 << 2900;
        // Past the bound the worker would have said "did not answer": the message shows the
        // retries stopped in time; the slack is for a machine busy with other tests.
        QTest::newRow("busy past the bound") << 5000
            << QStringLiteral("The session server is busy and did not take SendChatText within 3 seconds") << 2400 << 3400;
    }
    void busyServerIsAskedAgain()
    {
        QFETCH(int, busyMs);
        QFETCH(QString, expected);
        QFETCH(int, atLeastMs);
        QFETCH(int, atMostMs);
        QVERIFY(m_sim->startOwn({}));
        ComSessionTransport transport;
        transport.attachOrStart(Session);
        m_sim->send(QStringLiteral("busy %1").arg(busyMs));
        QVERIFY(m_sim->sync());
        QElapsedTimer timer;
        timer.start();
        const QString error = errorOf([&] { transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("once")}); });
        const qint64 elapsed = timer.elapsed();
        qInfo("busy %d ms: \"%s\" after %lld ms", busyMs, qPrintable(error), elapsed);
        QCOMPARE(error, expected);
        QVERIFY2(elapsed >= atLeastMs && elapsed <= atMostMs, qPrintable(QString::number(elapsed)));

        // Refused attempts never ran: the line went out once, or not at all. The simulator shows
        // nothing when it is busy no longer, and the transport would retry a call made before:
        // the busy time is waited out.
        QTest::qWait(int(qMax<qint64>(0, busyMs - elapsed)) + 100);
        transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("after")});
        QVERIFY(m_sim->waitForLine(QStringLiteral("SendChatText after")));
        QCOMPARE(m_sim->seen().count(QStringLiteral("SendChatText once")), expected == QLatin1String("(no error)") ? 1 : 0);
    }

    void hungServerRefusesLaterCallsAtOnce()
    {
        QVERIFY(m_sim->startOwn({}));
        ComSessionTransport transport;
        QCOMPARE(transport.readProperty(Session, QStringLiteral("NumPeers")).toInt(), 0);
        transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("before")});
        const int threadsBefore = threadsOfThisProcess();
        // Long enough to outlast the bound and the refusals, short enough to leave a loaded
        // machine time to deliver the call that overran.
        m_sim->startHang(6000);

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(errorOf([&] { transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("overran")}); }),
                 SendTimedOut);
        const qint64 bounded = timer.elapsed();
        QVERIFY2(bounded >= 2900 && bounded < 4000, qPrintable(QString::number(bounded)));
        // Nothing queues behind the call that overran, and no thread is left per call.
        timer.restart();
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(errorOf([&] { transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("refused")}); }),
                     QStringLiteral("SendChatText failed: the session server is not answering"));
        }
        const qint64 refused = timer.elapsed();
        const int threadsAfter = threadsOfThisProcess();
        qInfo("hang: bounded after %lld ms; 9 more refused in %lld ms; threads %d before, %d after ten calls",
              bounded, refused, threadsBefore, threadsAfter);
        QVERIFY2(refused < 500, qPrintable(QString::number(refused)));
        QVERIFY(threadsBefore > 0);
        QVERIFY2(threadsAfter - threadsBefore <= 2, qPrintable(QStringLiteral("%1 -> %2").arg(threadsBefore).arg(threadsAfter)));

        // Once the server answers, so does the worker, in the order the calls were made.
        QVERIFY(m_sim->waitForLine(QStringLiteral("SendChatText overran"), 30000));
        QTRY_COMPARE_WITH_TIMEOUT(errorOf([&] { transport.readProperty(Session, QStringLiteral("NumPeers")); }),
                                  QStringLiteral("(no error)"), 3000);
        QVERIFY(m_sim->sync());
        QCOMPARE(m_sim->seen().count(QStringLiteral("SendChatText refused")), 0);
    }

    void callsStayInOrderAfterAnOverrun()
    {
        QVERIFY(m_sim->startOwn({}));
        auto transport = std::make_unique<ComSessionTransport>();
        const auto transmit = [&transport](bool on) {
            return errorOf([&] { transport->invoke(Session, QStringLiteral("Transmit"), {on}); });
        };
        QCOMPARE(transmit(true), QStringLiteral("(no error)"));
        QVERIFY(m_sim->waitForLine(QStringLiteral("Transmit true")));
        m_sim->startHang(5000);
        QCOMPARE(transmit(false), QStringLiteral("The session server did not answer Transmit within 3 seconds"));
        // Keyed again while the unkey is still on its way, then unkeyed as the window closes:
        // neither may overtake it.
        const QString notAnswering = QStringLiteral("Transmit failed: the session server is not answering");
        QCOMPARE(transmit(true), notAnswering);
        QCOMPARE(transmit(false), notAnswering);
        QElapsedTimer timer;
        timer.start();
        transport.reset();
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(m_sim->waitForLine(QStringLiteral("Transmit false"), 10000));
        QVERIFY(m_sim->sync());
        QCOMPARE(transmitsIn(m_sim->seen()), (QStringList{QStringLiteral("Transmit true"), QStringLiteral("Transmit false")}));
    }

    void closingWhileTheServerHangsReturnsSoon_data()
    {
        QTest::addColumn<bool>("afterAnOverrun");
        QTest::addColumn<int>("atMostMs");
        // Behind a call that overran, closing waits for nothing.
        QTest::newRow("after an overrun") << true << 500;
        // Otherwise the unadvise is given the close bound, no more.
        QTest::newRow("nothing pending") << false << ComSessionTransport::CloseTimeoutMs + 500;
    }
    void closingWhileTheServerHangsReturnsSoon()
    {
        QFETCH(bool, afterAnOverrun);
        QFETCH(int, atMostMs);
        QVERIFY(m_sim->startOwn({}));
        auto transport = std::make_unique<ComSessionTransport>();
        transport->subscribe(Session);
        QVERIFY(m_sim->waitForLineStartingWith(QStringLiteral("Advise ")));
        QElapsedTimer hangStarted;
        hangStarted.start();
        m_sim->startHang(6000);
        if (afterAnOverrun) {
            QCOMPARE(errorOf([&] { transport->readProperty(Session, QStringLiteral("NumPeers")); }),
                     QStringLiteral("The session server did not answer NumPeers within 3 seconds"));
        }
        QElapsedTimer timer;
        timer.start();
        transport.reset();
        const qint64 closed = timer.elapsed();
        qInfo("closing while hung: %lld ms", closed);
        QVERIFY2(closed < atMostMs, qPrintable(QString::number(closed)));
        // The server's own hang is over before the next test asks it to quit. Not read from its
        // pipe, which a server still unwinding the calls held by its hang may not flush.
        QTest::qWait(int(qMax<qint64>(0, 6500 - hangStarted.elapsed())));
    }

    void notRunningAtStartIsWatchedFor()
    {
        QString output;
        QVERIFY2(ComSimDriver::unregisterServer(&output), qPrintable(output));
        ComSessionTransport transport;
        QSignalSpy appeared(&transport, &SessionTransport::serverAppeared);
        const QString error = errorOf([&] { transport.attachOrStart(Session); });
        // Installed again before anything can fail, so the later tests find it.
        QVERIFY2(ComSimDriver::registerServer(&output), qPrintable(output));
        QCOMPARE(error, QStringLiteral("Invalid class string"));
        QVERIFY(transport.isWatching());

        // Registered but not running: the watch waits, and never starts one. A probe that finds
        // nothing shows nothing, so the watch is given two of its rounds and some.
        QTest::qWait(2 * ServerWatch::IntervalMs + 500);
        QCOMPARE(appeared.size(), 0);
        QVERIFY(!m_sim->isServing());

        QVERIFY(m_sim->startOwn({}));
        QElapsedTimer timer;
        timer.start();
        QTRY_COMPARE_WITH_TIMEOUT(appeared.size(), 1, 10000);
        qInfo("started by hand: seen after %lld ms", timer.elapsed());
        QVERIFY(!transport.isWatching());
        transport.attachRunning(Session);
        QCOMPARE(transport.readProperty(Session, QStringLiteral("NumPeers")).toInt(), 0);
    }

    void diedServerIsDroppedAndFoundAgain()
    {
        QVERIFY(m_sim->startOwn({QStringLiteral("callsign BEFORE")}));
        ComSessionTransport transport;
        QSignalSpy lost(&transport, &SessionTransport::serverLost);
        QSignalSpy appeared(&transport, &SessionTransport::serverAppeared);
        QSignalSpy events(&transport, &SessionTransport::eventReceived);
        transport.attachOrStart(Session);
        transport.subscribe(Session);
        QVERIFY(m_sim->waitForLineStartingWith(QStringLiteral("Advise ")));
        QCOMPARE(transport.readProperty(Config, QStringLiteral("Callsign")).toString(), QStringLiteral("BEFORE"));

        m_sim->send(QStringLiteral("die"));
        QVERIFY(m_sim->waitForExit());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(errorOf([&] { transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("lost")}); }),
                 QStringLiteral("SendChatText failed: the session server is not running"));
        const qint64 failedAfter = timer.elapsed();
        QVERIFY2(failedAfter < 1500, qPrintable(QString::number(failedAfter)));
        QCOMPARE(lost.size(), 1);
        QVERIFY(transport.isWatching());
        // Every object went with it; reaching one again never starts a server, and the loss
        // is told once.
        timer.restart();
        QCOMPARE(errorOf([&] { transport.readProperty(Config, QStringLiteral("Callsign")); }),
                 QStringLiteral("Callsign failed: the session server is not running"));
        const qint64 configAfter = timer.elapsed();
        QCOMPARE(errorOf([&] { transport.subscribe(Session); }),
                 QStringLiteral("TarnWave.TarnwaveSession failed: the session server is not running"));
        QCOMPARE(lost.size(), 1);
        QVERIFY(!m_sim->isServing());
        QCOMPARE(appeared.size(), 0);

        QVERIFY(m_sim->startOwn({QStringLiteral("callsign AFTER")}));
        timer.restart();
        QTRY_COMPARE_WITH_TIMEOUT(appeared.size(), 1, 15000);
        const qint64 appearedAfter = timer.elapsed();
        qInfo("die: first call failed after %lld ms, the next through the table after %lld ms; "
              "the new server seen after %lld ms", failedAfter, configAfter, appearedAfter);
        transport.attachRunning(Session);
        transport.subscribe(Session);
        QVERIFY(m_sim->waitForLineStartingWith(QStringLiteral("Advise ")));
        transport.attachRunning(Config);
        QCOMPARE(transport.readProperty(Config, QStringLiteral("Callsign")).toString(), QStringLiteral("AFTER"));
        transport.invoke(Session, QStringLiteral("SendChatText"), {QStringLiteral("back")});
        QVERIFY(m_sim->waitForLine(QStringLiteral("SendChatText back")));
        m_sim->send(QStringLiteral("chat welcome back"));
        QTRY_VERIFY_WITH_TIMEOUT(!events.isEmpty(), 5000);
        QCOMPARE(events.constLast().at(1).toString(), QStringLiteral("OnChatTextReceived"));
        QCOMPARE(events.constLast().at(2).toList(), QVariantList{QStringLiteral("welcome back")});
        QCOMPARE(lost.size(), 1);
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
