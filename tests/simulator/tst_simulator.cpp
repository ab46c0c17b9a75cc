#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <memory>

static const QString SessionService = QStringLiteral("TarnWave.TarnwaveSession");
static const QString SessionPath = QStringLiteral("/TarnWave/TarnwaveSession");
static const QString ConfigService = QStringLiteral("TarnWave.SetupConfig");
static const QString ConfigPath = QStringLiteral("/TarnWave/SetupConfig");

// The signals a client sees; QtDBus subscribes to each one as it is connected.
class SessionProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit SessionProxy(QObject *parent = nullptr)
        : QDBusAbstractInterface(SessionService, SessionPath, "TarnWave.TarnwaveSession",
                                 QDBusConnection::sessionBus(), parent)
    {
    }

Q_SIGNALS:
    void OnTX(bool bTX);
    void OnConnected(const QString &sCall, const QString &sName, const QString &sAddr);
    void OnChatTextReceived(const QString &sText);
};

// OnRX with a string instead of a bool: only what `raw` can produce matches it.
class WrongRxProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit WrongRxProxy(QObject *parent = nullptr)
        : QDBusAbstractInterface(SessionService, SessionPath, "TarnWave.TarnwaveSession",
                                 QDBusConnection::sessionBus(), parent)
    {
    }

Q_SIGNALS:
    void OnRX(const QString &text);
};

static QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

static QDBusMessage callSession(const QString &method, const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(SessionService, SessionPath, SessionService, method);
    call.setArguments(args);
    return bus().call(call, QDBus::Block, 5000);
}

static QVariant readProperty(const QString &service, const QString &path, const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << service << name;
    const QDBusMessage reply = bus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QString(QStringLiteral("error: ") + reply.errorMessage());
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}

static bool owned(const QString &service)
{
    return bus().interface()->isServiceRegistered(service).value();
}

// Members of one interface as comparable lines; directions default as D-Bus defines them.
static QStringList interfaceMembers(const QString &xml, const QString &interface)
{
    QStringList members;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString kind;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == u"interface")
            inside = false;
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes attrs = reader.attributes();
        const QString element = reader.name().toString();
        if (element == u"interface") {
            inside = attrs.value(QLatin1String("name")) == interface;
        } else if (!inside) {
            continue;
        } else if (element == u"property") {
            members << QStringLiteral("property %1 %2 %3").arg(attrs.value(QLatin1String("name")), attrs.value(QLatin1String("type")), attrs.value(QLatin1String("access")));
        } else if (element == u"method" || element == u"signal") {
            kind = element;
            members << kind + u' ' + attrs.value(QLatin1String("name")).toString();
        } else if (element == u"arg" && !members.isEmpty()) {
            QString direction = attrs.value(QLatin1String("direction")).toString();
            if (direction.isEmpty())
                direction = kind == u"method" ? QStringLiteral("in") : QStringLiteral("out");
            members.last() += QStringLiteral(" %1:%2:%3").arg(direction, attrs.value(QLatin1String("type")), attrs.value(QLatin1String("name")));
        }
    }
    return members;
}

class TestSimulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void servesDefaultsAndCommandedProperties();
    void transmitTakesOnlyABoolVariant();
    void chatTextIsPrintedOnOneLine();
    void connectedListDrivesNumPeers();
    void floodChatArrivesInOrder();
    void rawSendsAnySignature();
    void introspectionMatchesShippedXml_data();
    void introspectionMatchesShippedXml();
    void secondInstanceLeavesWithZero();
    void leavesCleanly_data();
    void leavesCleanly();
    void scriptRunsAndEndOfInputKeepsServing();
    void busActivationStartsIt_data();
    void busActivationStartsIt();

private:
    std::unique_ptr<QProcess> start(const QStringList &args = {});
    bool sawLine(QProcess *process, const QString &line);
    bool send(QProcess *process, const QByteArray &lines, const QString &sync);

    QString m_simulator;
    std::unique_ptr<QProcess> m_sim;
    QStringList m_lines;
};

void TestSimulator::initTestCase()
{
    m_simulator = qEnvironmentVariable("TARNWAVE_SIM");
    QVERIFY2(QFileInfo(m_simulator).isExecutable(), "TARNWAVE_SIM must name the simulator binary");
    QVERIFY2(bus().isConnected(), "needs the private session bus of dbus-run-session");
}

void TestSimulator::cleanup()
{
    if (m_sim && m_sim->state() != QProcess::NotRunning) {
        m_sim->terminate();
        m_sim->waitForFinished(5000);
    }
    m_sim.reset();
    m_lines.clear();
    // An instance started by the bus is not our child: end it through its pid.
    for (const QString &service : {SessionService, ConfigService}) {
        const uint pid = bus().interface()->servicePid(service).value();
        if (pid != 0)
            ::kill(pid_t(pid), SIGTERM);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!owned(SessionService) && !owned(ConfigService), 5000);
}

std::unique_ptr<QProcess> TestSimulator::start(const QStringList &args)
{
    auto process = std::make_unique<QProcess>();
    process->start(m_simulator, args);
    return process;
}

bool TestSimulator::sawLine(QProcess *process, const QString &line)
{
    while (process->canReadLine())
        m_lines << QString::fromUtf8(process->readLine()).chopped(1);
    return m_lines.contains(line);
}

bool TestSimulator::send(QProcess *process, const QByteArray &lines, const QString &sync)
{
    process->write(lines + "echo " + sync.toUtf8() + '\n');
    return QTest::qWaitFor([&] { return sawLine(process, sync); }, 5000);
}

void TestSimulator::servesDefaultsAndCommandedProperties()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(0));
    QCOMPARE(readProperty(SessionService, SessionPath, "Transmitting"), QVariant(false));
    QCOMPARE(readProperty(ConfigService, ConfigPath, "Callsign"), QVariant("N0CALL"));

    QVERIFY(send(m_sim.get(), "peers 4\ncallsign K1ABC\n", "s1"));
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(4));
    QCOMPARE(readProperty(ConfigService, ConfigPath, "Callsign"), QVariant("K1ABC"));

    QVERIFY(send(m_sim.get(), "callsign\n", "s2"));
    QCOMPARE(readProperty(ConfigService, ConfigPath, "Callsign"), QVariant(""));
}

void TestSimulator::transmitTakesOnlyABoolVariant()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    SessionProxy proxy;
    QSignalSpy tx(&proxy, &SessionProxy::OnTX);
    // The round trip makes sure the subscription is in place before anything is emitted.
    readProperty(SessionService, SessionPath, "NumPeers");

    QCOMPARE(callSession("Transmit", {QVariant::fromValue(QDBusVariant(true))}).type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY(sawLine(m_sim.get(), "Transmit true"));
    QTRY_COMPARE(tx.size(), 1);
    QCOMPARE(tx.at(0).at(0), QVariant(true));
    QCOMPARE(readProperty(SessionService, SessionPath, "Transmitting"), QVariant(true));

    const QDBusMessage wrong = callSession("Transmit", {QVariant::fromValue(QDBusVariant(QStringLiteral("yes")))});
    QCOMPARE(wrong.type(), QDBusMessage::ErrorMessage);
    QCOMPARE(wrong.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    QCOMPARE(callSession("Transmit", {false}).type(), QDBusMessage::ErrorMessage);
    QCOMPARE(readProperty(SessionService, SessionPath, "Transmitting"), QVariant(true));

    QVERIFY(send(m_sim.get(), "tx off\n", "s1"));
    QTRY_COMPARE(tx.size(), 2);
    QCOMPARE(tx.at(1).at(0), QVariant(false));
    QCOMPARE(readProperty(SessionService, SessionPath, "Transmitting"), QVariant(false));
    QVERIFY(!m_lines.contains("Transmit false"));
}

void TestSimulator::chatTextIsPrintedOnOneLine()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    QCOMPARE(callSession("SendChatText", {QStringLiteral("a\nb\\c\r")}).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(callSession("SendChatText", {QString::fromUtf8("\xC3\xA9 \xF0\x9F\x93\xBB")}).type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY(sawLine(m_sim.get(), "SendChatText a\\nb\\\\c\\r"));
    QTRY_VERIFY(sawLine(m_sim.get(), QString::fromUtf8("SendChatText \xC3\xA9 \xF0\x9F\x93\xBB")));
}

void TestSimulator::connectedListDrivesNumPeers()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    SessionProxy proxy;
    QSignalSpy connected(&proxy, &SessionProxy::OnConnected);
    readProperty(SessionService, SessionPath, "NumPeers");

    QVERIFY(send(m_sim.get(), "peers 9\nconnect W1AW Hiram 10.0.0.1\nconnect K1ABC\nconnect W1AW\n", "s1"));
    QTRY_COMPARE(connected.size(), 3);
    QCOMPARE(connected.at(0), (QVariantList{"W1AW", "Hiram", "10.0.0.1"}));
    QCOMPARE(connected.at(1), (QVariantList{"K1ABC", "", ""}));
    // A repeated connect is announced again but does not count twice.
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(2));

    QVERIFY(send(m_sim.get(), "disconnect W1AW\ndisconnect NOBODY\n", "s2"));
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(1));

    QVERIFY(send(m_sim.get(), "flood-connect 40\n", "s3"));
    QTRY_COMPARE(connected.size(), 43);
    QCOMPARE(connected.at(42).at(0), QVariant("S40"));
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(1));
}

void TestSimulator::floodChatArrivesInOrder()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    SessionProxy proxy;
    QSignalSpy chat(&proxy, &SessionProxy::OnChatTextReceived);
    readProperty(SessionService, SessionPath, "NumPeers");

    QVERIFY(send(m_sim.get(), "flood-chat 2000\nflood-chat 2 hi \\u{1F4FB}\n", "s1"));
    QTRY_COMPARE_WITH_TIMEOUT(chat.size(), 2002, 20000);
    for (int i = 0; i < 2000; ++i)
        QCOMPARE(chat.at(i).at(0).toString(), QStringLiteral("line %1").arg(i + 1));
    QCOMPARE(chat.at(2001).at(0).toString(), QString::fromUtf8("hi \xF0\x9F\x93\xBB 2"));
}

void TestSimulator::rawSendsAnySignature()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    WrongRxProxy proxy;
    QSignalSpy rx(&proxy, &WrongRxProxy::OnRX);
    readProperty(SessionService, SessionPath, "NumPeers");

    QVERIFY(send(m_sim.get(), "rx on\nraw OnRX s:hello\n", "s1"));
    QTRY_COMPARE(rx.size(), 1);
    QCOMPARE(rx.at(0).at(0), QVariant("hello"));
}

void TestSimulator::introspectionMatchesShippedXml_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("memberCount");

    QTest::newRow("session") << SessionService << SessionPath << 18;
    QTest::newRow("config") << ConfigService << ConfigPath << 1;
}

void TestSimulator::introspectionMatchesShippedXml()
{
    QFETCH(QString, service);
    QFETCH(QString, path);
    QFETCH(int, memberCount);

    const QString dir = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../tools/session_sim/");
    QFile file(dir + service + QStringLiteral(".xml"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList shipped = interfaceMembers(QString::fromUtf8(file.readAll()), service);
    QCOMPARE(shipped.size(), memberCount);

    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    const QDBusMessage reply = bus().call(QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    const QString live = reply.arguments().value(0).toString();
    QCOMPARE(interfaceMembers(live, service), shipped);
    // Each object carries only its own interface.
    const QString other = service == SessionService ? ConfigService : SessionService;
    QVERIFY(!live.contains(QStringLiteral("\"") + other + u'"'));
}

void TestSimulator::secondInstanceLeavesWithZero()
{
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    const auto second = start();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(second->readAllStandardError().contains("already"));
    QVERIFY(!second->readAllStandardOutput().contains("ready"));
    QCOMPARE(m_sim->state(), QProcess::Running);
    QCOMPARE(bus().interface()->servicePid(SessionService).value(), uint(m_sim->processId()));
}

void TestSimulator::leavesCleanly_data()
{
    QTest::addColumn<int>("signal"); // 0: the quit command

    QTest::newRow("quit") << 0;
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSimulator::leavesCleanly()
{
    QFETCH(int, signal);
    m_sim = start();
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    SessionProxy proxy;
    QSignalSpy chat(&proxy, &SessionProxy::OnChatTextReceived);
    readProperty(SessionService, SessionPath, "NumPeers");

    if (signal == 0) {
        // What was emitted just before quitting must still reach the bus.
        m_sim->write("chat last words\nquit\nchat too late\n");
    } else {
        QVERIFY(send(m_sim.get(), "chat last words\n", "s1"));
        ::kill(pid_t(m_sim->processId()), signal);
    }
    QVERIFY(m_sim->waitForFinished(5000));
    QCOMPARE(m_sim->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim->exitCode(), 0);
    QTRY_COMPARE(chat.size(), 1);
    QCOMPARE(chat.at(0).at(0), QVariant("last words"));
}

void TestSimulator::scriptRunsAndEndOfInputKeepsServing()
{
    QTemporaryFile script;
    QVERIFY(script.open());
    script.write("# set up\npeers 2\n\nfrob\nsleep 200\necho from script\n");
    script.close();

    m_sim = start({script.fileName()});
    QTRY_VERIFY_WITH_TIMEOUT(sawLine(m_sim.get(), "ready"), 10000);
    QTRY_VERIFY(sawLine(m_sim.get(), "from script"));
    QVERIFY(m_sim->readAllStandardError().contains("line 4: unknown command \"frob\""));
    // A call sent after the script's last line has run is answered: anything its end set off
    // (a quit goes through the event loop) would have come first.
    QCOMPARE(readProperty(SessionService, SessionPath, "NumPeers"), QVariant(2));
    QCOMPARE(m_sim->state(), QProcess::Running);
}

void TestSimulator::busActivationStartsIt_data()
{
    QTest::addColumn<bool>("explicitStart");

    QTest::newRow("StartServiceByName") << true;
    QTest::newRow("auto-start by a call") << false;
}

void TestSimulator::busActivationStartsIt()
{
    QFETCH(bool, explicitStart);
    QVERIFY(!owned(SessionService));
    if (explicitStart) {
        QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                           "org.freedesktop.DBus", "StartServiceByName");
        call << SessionService << 0u;
        const QDBusMessage reply = bus().call(call, QDBus::Block, 20000);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(reply.arguments().value(0).toUInt(), 1u); // DBUS_START_REPLY_SUCCESS
    } else {
        QCOMPARE(readProperty(ConfigService, ConfigPath, "Callsign"), QVariant("N0CALL"));
    }
    QVERIFY(owned(SessionService));
    QVERIFY(owned(ConfigService));
    QCOMPARE(bus().interface()->servicePid(SessionService).value(),
             bus().interface()->servicePid(ConfigService).value());
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
