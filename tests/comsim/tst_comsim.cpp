#include "RecordingSink.h"
#include "SimPipe.h"
#include "TarnWaveSession.h"

#include "session/com/ComError.h"
#include "session/com/ComPtr.h"
#include "session/com/ComVariant.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace {

QString guidText(REFGUID guid)
{
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return QString::fromWCharArray(text);
}

QString registryDefault(const QString &key)
{
    wchar_t value[1024];
    DWORD size = sizeof value;
    const std::wstring path = QString(QStringLiteral("Software\\Classes\\") + key).toStdWString();
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(value);
}

HRESULT invoke(IDispatch *object, const wchar_t *name, WORD flags, std::vector<ComVariant> arguments,
               ComVariant *result = nullptr, EXCEPINFO *exception = nullptr)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    std::vector<VARIANTARG> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(it->value());
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->put() : nullptr,
                          exception, nullptr);
}

ComVariant text(const QString &value)
{
    return ComVariant::fromText(value.toStdWString());
}

} // namespace

class TestComSim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void registrationRoundTrip();
    void commandsByHand_data();
    void commandsByHand();
    void startsByProgId();
    void findsTheEventInterface();
    void properties_data();
    void properties();
    void methods_data();
    void methods();
    void transmitWithoutBooleanFails();
    void events_data();
    void events();
    void eventsKeepTheirOrder();
    void attachesToTheRunningInstance();
    void deadClientsSinkIsDropped();
    void hangHoldsCalls();
    void busyRefusesWithoutRunning_data();
    void busyRefusesWithoutRunning();
    void quitCutsClientsOff();
    void cleanupTestCase();

private:
    QString toolPath(const char *name) const;
    QString runSimulator(const QStringList &arguments);
    void sendAndSync(const QString &commands);

    QString m_pipeName;
    SimPipe m_pipe;
    ComPtr<IDispatch> m_session;
    ComPtr<IDispatch> m_config;
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
    // Members, not locals: COM may release them a little after Unadvise returns.
    RecordingSink m_sink{DIID_ITarnwaveSessionEvents};
    RecordingSink m_laterSink{DIID_ITarnwaveSessionEvents};
};

QString TestComSim::toolPath(const char *name) const
{
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(name);
}

QString TestComSim::runSimulator(const QStringList &arguments)
{
    QProcess process;
    process.start(toolPath("tarnwave-session-sim.exe"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void TestComSim::sendAndSync(const QString &commands)
{
    m_pipe.send(commands);
    QVERIFY(m_pipe.sync());
}

void TestComSim::initTestCase()
{
    QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    // A pipe of this run's own; a server that COM starts under Wine inherits our environment.
    m_pipeName = QStringLiteral("\\\\.\\pipe\\TarnWave.SessionSim.test%1").arg(QCoreApplication::applicationPid());
    qputenv("TARNWAVE_SIM_PIPE", m_pipeName.toUtf8());
    QVERIFY2(runSimulator({QStringLiteral("/RegServer")}).startsWith(u"registered "), "registration failed");
}

void TestComSim::init()
{
    m_sink.events.clear();
    m_pipe.lines.clear();
}

void TestComSim::registrationRoundTrip()
{
    ComPtr<ITypeLib> library;
    QVERIFY(SUCCEEDED(LoadTypeLibEx(toolPath("tarnwave-session-sim.exe").toStdWString().c_str(), REGKIND_NONE,
                                    library.put())));
    TLIBATTR *attributes = nullptr;
    QVERIFY(SUCCEEDED(library->GetLibAttr(&attributes)));
    const GUID libraryId = attributes->guid;
    library->ReleaseTLibAttr(attributes);
    const QString eventProxy = QStringLiteral("Interface\\%1\\ProxyStubClsid32").arg(guidText(DIID_ITarnwaveSessionEvents));

    QVERIFY(runSimulator({QStringLiteral("/UnregServer")}).startsWith(u"unregistered "));
    CLSID clsid;
    QCOMPARE(CLSIDFromProgID(L"TarnWave.TarnwaveSession", &clsid), CO_E_CLASSSTRING);
    QCOMPARE(CLSIDFromProgID(L"TarnWave.SetupConfig", &clsid), CO_E_CLASSSTRING);
    ComPtr<ITypeLib> registered;
    QVERIFY(FAILED(LoadRegTypeLib(libraryId, 1, 0, 0, registered.put())));
    QVERIFY(registryDefault(eventProxy).isEmpty());

    const QString output = runSimulator({QStringLiteral("-regserver")});
    QVERIFY2(output.startsWith(u"registered ") && output.endsWith(u"tarnwave-session-sim.exe"), qPrintable(output));
    QVERIFY(SUCCEEDED(CLSIDFromProgID(L"TarnWave.TarnwaveSession", &clsid)));
    QCOMPARE(guidText(clsid), guidText(CLSID_TarnwaveSession));
    QVERIFY(SUCCEEDED(CLSIDFromProgID(L"TarnWave.SetupConfig", &clsid)));
    QCOMPARE(guidText(clsid), guidText(CLSID_SetupConfig));
    QCOMPARE(registryDefault(QStringLiteral("CLSID\\%1\\LocalServer32").arg(guidText(clsid))),
             u'"' + output.mid(int(qstrlen("registered "))) + u'"');
    QVERIFY(SUCCEEDED(LoadRegTypeLib(libraryId, 1, 0, 0, registered.put())));
    // PSDispatch: without it no client could advise a sink for the event interface.
    QCOMPARE(registryDefault(eventProxy), QStringLiteral("{00020420-0000-0000-C000-000000000046}"));
}

void TestComSim::commandsByHand_data()
{
    QTest::addColumn<bool>("fromScript");
    QTest::newRow("script file") << true;
    QTest::newRow("standard input") << false;
}

void TestComSim::commandsByHand()
{
    QFETCH(bool, fromScript);
    const QByteArray commands = "echo start\npeers x\nfrob\nraw OnNothing\ntx maybe\r\n"
                                "echo \\u{E9}t\\u{E9}\nquit\necho never\n";
    QTemporaryFile script;
    QVERIFY(script.open());
    script.write(commands);
    script.close();

    QProcess simulator;
    simulator.start(toolPath("tarnwave-session-sim.exe"),
                    fromScript ? QStringList{script.fileName()} : QStringList{});
    if (!fromScript) {
        simulator.write(commands);
        simulator.closeWriteChannel();
    }
    QVERIFY(simulator.waitForFinished(60000));
    QCOMPARE(simulator.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(simulator.readAllStandardOutput()), QStringLiteral("ready\nstart\n\u00e9t\u00e9\n"));
    QCOMPARE(QString::fromUtf8(simulator.readAllStandardError()).split(u'\n'),
             QStringList({QStringLiteral("line 2: peers: \"x\" is not a 32-bit number (-2147483648..2147483647) in \"peers x\""),
                          QStringLiteral("line 3: unknown command \"frob\""),
                          QStringLiteral("raw: the session has no event \"OnNothing\"; raw-dispid takes any identifier"),
                          QStringLiteral("line 5: tx: expected on or off, got \"maybe\" in \"tx maybe\""),
                          QString()}));
}

// Wine keeps the class registration of a server that was killed (as another test does) until
// an attempt to reach it fails; that attempt clears it, so a second one starts a new server.
static HRESULT startLocalServer(const wchar_t *progId, ComPtr<IDispatch> &object)
{
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(progId, &clsid);
    for (int attempt = 0; SUCCEEDED(result) && attempt < 2; ++attempt) {
        result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.putVoid());
        if (!ComError::isServerGone(result))
            break;
    }
    return result;
}

void TestComSim::startsByProgId()
{
    QVERIFY(SUCCEEDED(startLocalServer(L"TarnWave.TarnwaveSession", m_session)));
    QVERIFY(SUCCEEDED(startLocalServer(L"TarnWave.SetupConfig", m_config)));
    QVERIFY2(m_pipe.connectTo(m_pipeName, 20000), "the simulator's pipe did not appear");
    QVERIFY(m_pipe.sync());
}

void TestComSim::findsTheEventInterface()
{
    QVERIFY(m_session);
    ComPtr<IProvideClassInfo2> classInfo;
    QVERIFY(SUCCEEDED(m_session.query(IID_IProvideClassInfo2, classInfo)));
    GUID events = GUID_NULL;
    QVERIFY(SUCCEEDED(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events)));
    QCOMPARE(guidText(events), guidText(DIID_ITarnwaveSessionEvents));

    // The way a client finds it without IProvideClassInfo2: the coclass's default source.
    ComPtr<ITypeInfo> coclass;
    QVERIFY(SUCCEEDED(classInfo->GetClassInfo(coclass.put())));
    TYPEATTR *attributes = nullptr;
    QVERIFY(SUCCEEDED(coclass->GetTypeAttr(&attributes)));
    const WORD implemented = attributes->cImplTypes;
    coclass->ReleaseTypeAttr(attributes);
    QStringList sources;
    for (UINT i = 0; i < implemented; ++i) {
        INT flags = 0;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> type;
        QVERIFY(SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)));
        QVERIFY(SUCCEEDED(coclass->GetRefTypeOfImplType(i, &reference)));
        QVERIFY(SUCCEEDED(coclass->GetRefTypeInfo(reference, type.put())));
        QVERIFY(SUCCEEDED(type->GetTypeAttr(&attributes)));
        if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
            sources << guidText(attributes->guid);
        type->ReleaseTypeAttr(attributes);
    }
    QCOMPARE(sources, QStringList{guidText(events)});

    // And the one connection point by enumeration, which is where this sink advises.
    ComPtr<IConnectionPointContainer> container;
    QVERIFY(SUCCEEDED(m_session.query(IID_IConnectionPointContainer, container)));
    ComPtr<IEnumConnectionPoints> points;
    QVERIFY(SUCCEEDED(container->EnumConnectionPoints(points.put())));
    ULONG fetched = 0;
    QCOMPARE(points->Next(1, m_point.put(), &fetched), S_OK);
    ComPtr<IConnectionPoint> another;
    QCOMPARE(points->Next(1, another.put(), &fetched), S_FALSE);
    IID pointInterface;
    QVERIFY(SUCCEEDED(m_point->GetConnectionInterface(&pointInterface)));
    QCOMPARE(guidText(pointInterface), guidText(events));
    QVERIFY(SUCCEEDED(m_point->Advise(&m_sink, &m_cookie)));
    QVERIFY(m_pipe.waitForLine(QStringLiteral("Advise %1").arg(m_cookie), 5000));
}

void TestComSim::properties_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<bool>("onConfig");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("NumPeers set") << "peers -7" << false << "NumPeers" << "I4:-7";
    QTest::newRow("NumPeers follows the list") << "connect A\nconnect B\nconnect A\ndisconnect A" << false
                                               << "NumPeers" << "I4:1";
    QTest::newRow("Transmitting on") << "tx on" << false << "Transmitting" << "BOOL:true";
    QTest::newRow("Transmitting off") << "tx off" << false << "Transmitting" << "BOOL:false";
    QTest::newRow("Callsign") << "callsign K1\\u{E9}X \\u{1F4FB}" << true << "Callsign"
                              << QStringLiteral("BSTR:K1\u00e9X \U0001F4FB");
    QTest::newRow("Callsign empty") << "callsign" << true << "Callsign" << "BSTR:";
}

void TestComSim::properties()
{
    QFETCH(QString, commands);
    QFETCH(bool, onConfig);
    QFETCH(QString, name);
    QFETCH(QString, value);
    sendAndSync(commands);
    ComVariant result;
    QCOMPARE(invoke((onConfig ? m_config : m_session).get(), name.toStdWString().c_str(), DISPATCH_PROPERTYGET, {},
                    &result),
             S_OK);
    QCOMPARE(RecordingSink::render(result.value()), value);
    QVERIFY(m_pipe.waitForLine(QStringLiteral("get ") + name, 5000));
}

void TestComSim::methods_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("SendChatText") << "SendChatText" << "string" << QStringLiteral("h\u00e9llo\nsecond \\ line \U0001F4FB")
                                  << QStringLiteral("SendChatText h\u00e9llo\\nsecond \\\\ line \U0001F4FB") << QStringList();
    QTest::newRow("SendChatText empty") << "SendChatText" << "string" << "" << "SendChatText " << QStringList();
    QTest::newRow("Transmit true") << "Transmit" << "bool" << "true" << "Transmit true" << QStringList{"5(BOOL:true)"};
    QTest::newRow("Transmit false") << "Transmit" << "bool" << "false" << "Transmit false" << QStringList{"5(BOOL:false)"};
}

void TestComSim::methods()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, argument);
    QFETCH(QString, logged);
    QFETCH(QStringList, events);
    const ComVariant value = kind == u"bool" ? ComVariant::fromBool(argument == u"true") : text(argument);
    QCOMPARE(invoke(m_session.get(), name.toStdWString().c_str(), DISPATCH_METHOD, {value}), S_OK);
    QVERIFY(m_pipe.sync());
    QVERIFY2(m_pipe.lines.contains(logged), qPrintable(m_pipe.lines.join(u'|')));
    QCOMPARE(m_sink.events, events);
}

void TestComSim::transmitWithoutBooleanFails()
{
    EXCEPINFO exception = {};
    QCOMPARE(invoke(m_session.get(), L"Transmit", DISPATCH_METHOD, {ComVariant::fromInt(1)}, nullptr, &exception),
             DISP_E_EXCEPTION);
    const ComError error = ComError::fromException(DISP_E_EXCEPTION, exception);
    QCOMPARE(QString::fromStdWString(error.serverText()), QStringLiteral("Transmit takes a variant holding a boolean"));
    QVERIFY(m_pipe.sync());
    QVERIFY(m_pipe.lines.filter(QStringLiteral("Transmit")).isEmpty());
    QVERIFY(m_sink.events.isEmpty());
}

void TestComSim::events_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("OnClosing") << "closing" << QStringList{"1()"};
    QTest::newRow("OnDTMFString") << "dtmf 12#\\x20A" << QStringList{"2(BSTR:12# A)"};
    QTest::newRow("OnCarrierDetect") << "cd on" << QStringList{"3(BOOL:true)"};
    QTest::newRow("OnRX") << "rx off" << QStringList{"4(BOOL:false)"};
    QTest::newRow("OnTX") << "tx on" << QStringList{"5(BOOL:true)"};
    QTest::newRow("OnPTT") << "ptt on" << QStringList{"6(BOOL:true)"};
    QTest::newRow("OnConnected") << "connect W1AW Hiram 10.0.0.1" << QStringList{"7(BSTR:W1AW,BSTR:Hiram,BSTR:10.0.0.1)"};
    QTest::newRow("OnConnected call only") << "connect W1AW" << QStringList{"7(BSTR:W1AW,BSTR:,BSTR:)"};
    QTest::newRow("OnDisconnected") << "disconnect NOBODY" << QStringList{"8(BSTR:NOBODY)"};
    QTest::newRow("OnStationListReceived") << "station-list" << QStringList{"9()"};
    QTest::newRow("OnChatTextReceived") << "chat  two\\nlines \\u{1F4FB}"
                                        << QStringList{QStringLiteral("10(BSTR: two\nlines \U0001F4FB)")};
    QTest::newRow("OnStationTextReceived") << "station-text QTH <b>x</b>" << QStringList{"11(BSTR:QTH <b>x</b>)"};
    QTest::newRow("OnAlarm") << "alarm K1ABC -32768" << QStringList{"12(BSTR:K1ABC,I2:-32768)"};
    QTest::newRow("OnLinkStatusChange") << "link on" << QStringList{"13(BOOL:true)"};
    QTest::newRow("OnSerialStatus") << "serial -2147483648 2147483647" << QStringList{"14(I4:-2147483648,I4:2147483647)"};
    QTest::newRow("flood-chat") << "flood-chat 3 x" << QStringList{"10(BSTR:x 1)", "10(BSTR:x 2)", "10(BSTR:x 3)"};
    QTest::newRow("flood-connect") << "flood-connect 2"
                                   << QStringList{"7(BSTR:S1,BSTR:,BSTR:)", "7(BSTR:S2,BSTR:,BSTR:)", "8(BSTR:S1)", "8(BSTR:S2)"};
    QTest::newRow("raw by name, wrong type") << "raw OnAlarm s:K i:70000" << QStringList{"12(BSTR:K,I4:70000)"};
    QTest::newRow("raw-dispid unknown") << "raw-dispid 99 s:x u:7 d:2.5" << QStringList{"99(BSTR:x,UI4:7,R8:2.5)"};
    QTest::newRow("raw-dispid -1") << "raw-dispid -1" << QStringList{"-1()"};
    QTest::newRow("raw-dispid OnRX, too many") << "raw-dispid 4 b:1 b:0" << QStringList{"4(BOOL:true,BOOL:false)"};
}

void TestComSim::events()
{
    QFETCH(QString, command);
    QFETCH(QStringList, events);
    sendAndSync(command);
    QCOMPARE(m_sink.events, events);
}

void TestComSim::eventsKeepTheirOrder()
{
    sendAndSync(QStringLiteral("closing\ndtmf 1\ncd on\nrx on\ntx off\nptt off\nconnect A\ndisconnect A\nstation-list\n"
                               "chat c\nstation-text s\nalarm A 3\nlink off\nserial 1 2"));
    QCOMPARE(m_sink.events,
             QStringList({"1()", "2(BSTR:1)", "3(BOOL:true)", "4(BOOL:true)", "5(BOOL:false)", "6(BOOL:false)",
                          "7(BSTR:A,BSTR:,BSTR:)", "8(BSTR:A)", "9()", "10(BSTR:c)", "11(BSTR:s)", "12(BSTR:A,I2:3)",
                          "13(BOOL:false)", "14(I4:1,I4:2)"}));
}

void TestComSim::attachesToTheRunningInstance()
{
    ComPtr<IUnknown> running;
    QVERIFY(SUCCEEDED(GetActiveObject(CLSID_TarnwaveSession, nullptr, running.put())));
    ComPtr<IUnknown> created;
    QVERIFY(SUCCEEDED(m_session.query(IID_IUnknown, created)));
    QCOMPARE(running.get(), created.get());
    ComPtr<IDispatch> session;
    QVERIFY(SUCCEEDED(running.query(IID_IDispatch, session)));
    sendAndSync(QStringLiteral("peers 42"));
    ComVariant count;
    QCOMPARE(invoke(session.get(), L"NumPeers", DISPATCH_PROPERTYGET, {}, &count), S_OK);
    QCOMPARE(RecordingSink::render(count.value()), QStringLiteral("I4:42"));
    ComPtr<IUnknown> config;
    QVERIFY(SUCCEEDED(GetActiveObject(CLSID_SetupConfig, nullptr, config.put())));
}

void TestComSim::deadClientsSinkIsDropped()
{
    QProcess client;
    client.start(toolPath("comsim_sink_client.exe"));
    QVERIFY(QTest::qWaitFor([&] { return client.canReadLine() || client.state() == QProcess::NotRunning; }, 60000));
    const QString advised = QString::fromUtf8(client.readLine()).trimmed();
    QVERIFY2(advised.startsWith(u"advised "), qPrintable(advised));
    const QString cookie = advised.mid(8);
    QVERIFY(m_pipe.waitForLine(QStringLiteral("Advise ") + cookie, 5000));
    client.kill();
    QVERIFY(client.waitForFinished(10000));

    sendAndSync(QStringLiteral("chat after"));
    QVERIFY2(!m_pipe.lines.filter(QRegularExpression(QStringLiteral("^dropped %1: ").arg(cookie))).isEmpty(),
             qPrintable(m_pipe.lines.join(u'|')));
    sendAndSync(QStringLiteral("chat again"));
    QCOMPARE(m_pipe.lines.filter(QStringLiteral("dropped")).size(), 1);

    // A client that comes later is served as before.
    RecordingSink &later = m_laterSink;
    DWORD laterCookie = 0;
    QVERIFY(SUCCEEDED(m_point->Advise(&later, &laterCookie)));
    sendAndSync(QStringLiteral("chat later"));
    QVERIFY(SUCCEEDED(m_point->Unadvise(laterCookie)));
    QCOMPARE(m_sink.events, QStringList({"10(BSTR:after)", "10(BSTR:again)", "10(BSTR:later)"}));
    QCOMPARE(later.events, QStringList{"10(BSTR:later)"});
}

void TestComSim::hangHoldsCalls()
{
    m_pipe.send(QStringLiteral("hang 2000"));
    // A fixed wait: a line printed just before the hang, to mark its start, can stay in the
    // simulator's pipe under Wine until long after the hang.
    QTest::qWait(500);
    QElapsedTimer timer;
    timer.start();
    ComVariant count;
    QCOMPARE(invoke(m_session.get(), L"NumPeers", DISPATCH_PROPERTYGET, {}, &count), S_OK);
    QVERIFY2(timer.elapsed() >= 1000, qPrintable(QString::number(timer.elapsed())));
}

void TestComSim::busyRefusesWithoutRunning_data()
{
    QTest::addColumn<bool>("config");
    QTest::newRow("session: SendChatText") << false;
    QTest::newRow("configuration: Callsign") << true;
}

void TestComSim::busyRefusesWithoutRunning()
{
    QFETCH(bool, config);
    IDispatch *const object = config ? m_config.get() : m_session.get();
    const wchar_t *const name = config ? L"Callsign" : L"SendChatText";
    const WORD flags = config ? DISPATCH_PROPERTYGET : DISPATCH_METHOD;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    QCOMPARE(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    sendAndSync(QStringLiteral("busy 1500"));

    const ComVariant refused = text(QStringLiteral("refused"));
    VARIANTARG argument = refused.value();
    DISPPARAMS params = {config ? nullptr : &argument, nullptr, config ? 0u : 1u, 0};
    ComVariant result;
    // As Invoke's own result, the way COM reports a server that turned the call away, not
    // inside EXCEPINFO: a client may make the call again.
    QCOMPARE(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), nullptr, nullptr),
             RPC_E_SERVERCALL_RETRYLATER);
    QCOMPARE(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), RPC_E_SERVERCALL_RETRYLATER);
    QVERIFY(m_pipe.sync());
    QVERIFY2(m_pipe.lines.filter(QStringLiteral("refused")).isEmpty(), qPrintable(m_pipe.lines.join(u'|')));
    QVERIFY2(m_pipe.lines.filter(QStringLiteral("get Callsign")).isEmpty(), qPrintable(m_pipe.lines.join(u'|')));

    // Once a harmless call is taken again, the busy time is over.
    QVERIFY(QTest::qWaitFor([&] {
        DISPID probe = 0;
        return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &probe) == S_OK;
    }, 5000));
    const std::vector<ComVariant> arguments = config ? std::vector<ComVariant>{} : std::vector<ComVariant>{text(QStringLiteral("taken"))};
    QCOMPARE(invoke(object, name, flags, arguments), S_OK);
    QVERIFY(m_pipe.sync());
    QVERIFY(m_pipe.lines.contains(config ? QStringLiteral("get Callsign") : QStringLiteral("SendChatText taken")));
}

void TestComSim::quitCutsClientsOff()
{
    QVERIFY(SUCCEEDED(m_point->Unadvise(m_cookie)));
    QVERIFY(m_pipe.waitForLine(QStringLiteral("Unadvise %1").arg(m_cookie), 5000));
    m_pipe.send(QStringLiteral("quit"));
    QVERIFY(m_pipe.waitForDisconnect(10000));
    ComVariant count;
    const HRESULT hr = invoke(m_session.get(), L"NumPeers", DISPATCH_PROPERTYGET, {}, &count);
    QVERIFY2(FAILED(hr), qPrintable(QString::number(ulong(hr), 16)));
}

void TestComSim::cleanupTestCase()
{
    m_point.reset();
    m_session.reset();
    m_config.reset();
    CoUninitialize();
}

QTEST_GUILESS_MAIN(TestComSim)
#include "tst_comsim.moc"
