#include "SimCommandParser.h"
#include "SimCommandRunner.h"
#include "SimLineBuffer.h"
#include "SimServer.h"

#include <QMetaType>
#include <QTest>

// Renders a command as one comparable string, so each table row states its whole outcome.
static QString render(const SimParseResult &result)
{
    using Status = SimParseResult::Status;
    if (result.status == Status::Ignored)
        return QStringLiteral("ignored");
    if (result.status == Status::Error)
        return QStringLiteral("error");
    const SimCommand &c = result.command;
    QStringList parts{QString::number(int(c.kind))};
    parts << c.call << c.name << c.addr << c.text << (c.on ? QStringLiteral("on") : QStringLiteral("off"))
          << QString::number(c.number) << QString::number(c.number2);
    for (const QVariant &arg : c.rawArgs)
        parts << QString::fromLatin1(arg.metaType().name()) + u'=' + arg.toString();
    return parts.join(u'|');
}

static QString expected(SimCommand::Kind kind, const QString &call = {}, const QString &name = {},
                        const QString &addr = {}, const QString &text = {}, bool on = false,
                        qint64 number = 0, qint64 number2 = 0, const QStringList &raw = {})
{
    QStringList parts{QString::number(int(kind))};
    parts << call << name << addr << text << (on ? QStringLiteral("on") : QStringLiteral("off"))
          << QString::number(number) << QString::number(number2) << raw;
    return parts.join(u'|');
}

static QString renderArguments(const QString &head, const QVariantList &arguments)
{
    QStringList parts{head};
    for (const QVariant &arg : arguments)
        parts << QString::fromLatin1(arg.metaType().name()) + u'=' + arg.toString();
    return parts.join(u' ');
}

// Writes down what the commands ask of a simulator, one string a call.
class RecordingServer : public SimServer
{
public:
    QStringList calls;

    void setNumPeers(qint32 count) override { calls << QStringLiteral("NumPeers %1").arg(count); }
    void setTransmitting(bool on) override { calls << renderArguments(QStringLiteral("Transmitting"), {on}); }
    void setCallsign(const QString &callsign) override { calls << QStringLiteral("Callsign \"%1\"").arg(callsign); }
    void fireEvent(const QString &name, const QVariantList &arguments) override { calls << renderArguments(name, arguments); }
    void fireDispId(qint32 dispId, const QVariantList &arguments) override
    {
        calls << renderArguments(QStringLiteral("dispid %1").arg(dispId), arguments);
    }
    void refuseCallsFor(qint64 ms) override { calls << QStringLiteral("busy %1").arg(ms); }
    void die() override { calls << QStringLiteral("die"); }
};

class TestSimCommandParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void errorsNameTheProblem_data();
    void errorsNameTheProblem();
    void unescape_data();
    void unescape();
    void escapeLineRoundTrips_data();
    void escapeLineRoundTrips();
    void describeError_data();
    void describeError();
    void commandsReachTheServer_data();
    void commandsReachTheServer();
    void lineBufferCutsAtLineFeeds_data();
    void lineBufferCutsAtLineFeeds();
};

void TestSimCommandParser::parse_data()
{
    using K = SimCommand::Kind;
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty") << "" << "ignored";
    QTest::newRow("blanks") << " \t " << "ignored";
    QTest::newRow("comment") << "# chat hello" << "ignored";
    QTest::newRow("indented comment") << "   # x" << "ignored";
    QTest::newRow("unknown") << "frob" << "error";
    QTest::newRow("command is case-sensitive") << "Chat hi" << "error";

    QTest::newRow("connect call only") << "connect W1AW" << expected(K::Connect, "W1AW");
    QTest::newRow("connect full") << "connect W1AW Hiram 10.0.0.1" << expected(K::Connect, "W1AW", "Hiram", "10.0.0.1");
    QTest::newRow("connect extra blanks") << "connect  W1AW\t Hiram " << expected(K::Connect, "W1AW", "Hiram");
    QTest::newRow("connect escaped space") << "connect W1AW Hiram\\x20Percy" << expected(K::Connect, "W1AW", "Hiram Percy");
    QTest::newRow("connect too many") << "connect A B C D" << "error";
    QTest::newRow("connect nothing") << "connect" << "error";
    QTest::newRow("disconnect") << "disconnect W1AW" << expected(K::Disconnect, "W1AW");
    QTest::newRow("disconnect nothing") << "disconnect" << "error";

    QTest::newRow("chat keeps inner and trailing blanks") << "chat hello  world " << expected(K::Chat, {}, {}, {}, "hello  world ");
    QTest::newRow("chat only one separator eaten") << "chat   x" << expected(K::Chat, {}, {}, {}, "  x");
    QTest::newRow("chat empty") << "chat" << expected(K::Chat);
    QTest::newRow("chat escapes") << "chat a\\r\\nb" << expected(K::Chat, {}, {}, {}, "a\r\nb");
    QTest::newRow("chat crlf line") << "chat hi\r" << expected(K::Chat, {}, {}, {}, "hi");
    QTest::newRow("chat bad escape") << "chat bad\\q" << "error";
    QTest::newRow("station-text") << "station-text QRV 7.040" << expected(K::StationText, {}, {}, {}, "QRV 7.040");
    QTest::newRow("echo") << "echo step 1" << expected(K::Echo, {}, {}, {}, "step 1");
    QTest::newRow("dtmf") << "dtmf 12*#" << expected(K::Dtmf, {}, {}, {}, "12*#");
    QTest::newRow("callsign") << "callsign K1ABC" << expected(K::Callsign, {}, {}, {}, "K1ABC");
    QTest::newRow("callsign empty") << "callsign" << expected(K::Callsign);

    QTest::newRow("rx on") << "rx on" << expected(K::Rx, {}, {}, {}, {}, true);
    QTest::newRow("tx off") << "tx off" << expected(K::Tx);
    QTest::newRow("ptt on") << "ptt on" << expected(K::Ptt, {}, {}, {}, {}, true);
    QTest::newRow("cd on") << "cd on" << expected(K::CarrierDetect, {}, {}, {}, {}, true);
    QTest::newRow("link off") << "link off" << expected(K::Link);
    QTest::newRow("switch word") << "rx yes" << "error";
    QTest::newRow("switch missing") << "tx" << "error";
    QTest::newRow("switch extra") << "ptt on off" << "error";

    QTest::newRow("peers") << "peers 3" << expected(K::Peers, {}, {}, {}, {}, false, 3);
    QTest::newRow("peers negative") << "peers -1" << expected(K::Peers, {}, {}, {}, {}, false, -1);
    QTest::newRow("peers overflow") << "peers 2147483648" << "error";
    QTest::newRow("peers word") << "peers three" << "error";
    QTest::newRow("alarm") << "alarm K1 -32768" << expected(K::Alarm, "K1", {}, {}, {}, false, -32768);
    QTest::newRow("alarm beyond 16 bits") << "alarm K1 32768" << "error";
    QTest::newRow("alarm no status") << "alarm K1" << "error";
    QTest::newRow("serial") << "serial 2 -7" << expected(K::Serial, {}, {}, {}, {}, false, 2, -7);
    QTest::newRow("serial one number") << "serial 2" << "error";

    QTest::newRow("sleep") << "sleep 250" << expected(K::Sleep, {}, {}, {}, {}, false, 250);
    QTest::newRow("sleep negative") << "sleep -1" << "error";
    QTest::newRow("hang") << "hang 1000" << expected(K::Hang, {}, {}, {}, {}, false, 1000);
    QTest::newRow("hang missing") << "hang" << "error";
    QTest::newRow("busy") << "busy 1500" << expected(K::Busy, {}, {}, {}, {}, false, 1500);
    QTest::newRow("busy negative") << "busy -5" << "error";
    QTest::newRow("die") << "die" << expected(K::Die);
    QTest::newRow("die with argument") << "die now" << "error";
    QTest::newRow("station-list") << "station-list" << expected(K::StationList);
    QTest::newRow("closing") << "closing" << expected(K::Closing);
    QTest::newRow("quit") << "quit" << expected(K::Quit);
    QTest::newRow("quit with argument") << "quit now" << "error";

    QTest::newRow("flood-chat default text") << "flood-chat 5" << expected(K::FloodChat, {}, {}, {}, "line", false, 5);
    QTest::newRow("flood-chat text") << "flood-chat 5 hi  there" << expected(K::FloodChat, {}, {}, {}, "hi  there", false, 5);
    QTest::newRow("flood-chat not a count") << "flood-chat many" << "error";
    QTest::newRow("flood-connect") << "flood-connect 3" << expected(K::FloodConnect, {}, {}, {}, {}, false, 3);
    QTest::newRow("flood-connect negative") << "flood-connect -3" << "error";

    QTest::newRow("raw bare") << "raw OnConnected" << expected(K::Raw, {}, "OnConnected");
    QTest::newRow("raw wrong type") << "raw OnRX s:hello" << expected(K::Raw, {}, "OnRX", {}, {}, false, 0, 0, {"QString=hello"});
    QTest::newRow("raw all types")
        << "raw OnX s:a\\x20b b:true b:0 i:-5 n:-32768 u:4294967295 d:2.5 s:"
        << expected(K::Raw, {}, "OnX", {}, {}, false, 0, 0,
                    {"QString=a b", "bool=true", "bool=false", "int=-5", "short=-32768",
                     "uint=4294967295", "double=2.5", "QString="});
    QTest::newRow("raw unknown type") << "raw OnRX x:1" << "error";
    QTest::newRow("raw bad int") << "raw OnRX i:abc" << "error";
    QTest::newRow("raw short overflow") << "raw OnRX n:40000" << "error";
    QTest::newRow("raw bad bool") << "raw OnRX b:maybe" << "error";
    QTest::newRow("raw no colon") << "raw OnRX hello" << "error";
    QTest::newRow("raw bad member name") << "raw 1On" << "error";
    QTest::newRow("raw dotted name") << "raw On.RX" << "error";
    QTest::newRow("raw nothing") << "raw" << "error";

    QTest::newRow("raw-dispid unknown id") << "raw-dispid 99 s:x" << expected(K::RawDispId, {}, {}, {}, {}, false, 99, 0, {"QString=x"});
    QTest::newRow("raw-dispid negative") << "raw-dispid -1" << expected(K::RawDispId, {}, {}, {}, {}, false, -1);
    QTest::newRow("raw-dispid name") << "raw-dispid OnRX b:1" << "error";
    QTest::newRow("raw-dispid bad argument") << "raw-dispid 4 b:maybe" << "error";
    QTest::newRow("raw-dispid nothing") << "raw-dispid" << "error";
}

void TestSimCommandParser::parse()
{
    QFETCH(QString, line);
    QFETCH(QString, result);
    QCOMPARE(render(SimCommandParser::parse(line)), result);
}

void TestSimCommandParser::errorsNameTheProblem_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fragment");

    QTest::newRow("unknown") << "frob x" << "unknown command \"frob\"";
    QTest::newRow("bad number") << "peers abc" << "\"abc\"";
    QTest::newRow("bad switch") << "rx maybe" << "\"maybe\"";
    QTest::newRow("bad escape") << "chat \\q" << "\\q";
    QTest::newRow("trailing backslash") << "chat oops\\" << "backslash";
    QTest::newRow("usage") << "serial 1" << "N M";
    QTest::newRow("raw type") << "raw OnRX z:1" << "\"z\"";
}

void TestSimCommandParser::errorsNameTheProblem()
{
    QFETCH(QString, line);
    QFETCH(QString, fragment);
    const SimParseResult result = SimCommandParser::parse(line);
    QCOMPARE(result.status, SimParseResult::Status::Error);
    QVERIFY2(result.error.contains(fragment), qPrintable(result.error));
}

void TestSimCommandParser::unescape_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("ok");

    QTest::newRow("plain") << "abc" << "abc" << true;
    QTest::newRow("empty is not null") << "" << "" << true;
    QTest::newRow("controls") << "\\r\\n\\t\\\\" << "\r\n\t\\" << true;
    QTest::newRow("hex ascii") << "\\x41\\x7e" << "A~" << true;
    QTest::newRow("hex latin1 not utf8") << "\\xe9" << QString(QChar(0xE9)) << true;
    QTest::newRow("hex upper") << "\\xFF" << QString(QChar(0xFF)) << true;
    QTest::newRow("unicode bmp") << "\\u{20AC}" << QString(QChar(0x20AC)) << true;
    QTest::newRow("unicode astral") << "\\u{1F4FB}" << QString::fromUtf8("\xF0\x9F\x93\xBB") << true;
    QTest::newRow("unicode max") << "\\u{10FFFF}" << QString::fromUtf8("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("unicode six digits") << "\\u{00004A}" << "J" << true;
    QTest::newRow("escape mid text") << "a\\tb" << "a\tb" << true;
    QTest::newRow("trailing backslash") << "a\\" << QString() << false;
    QTest::newRow("unknown escape") << "\\q" << QString() << false;
    QTest::newRow("hex one digit") << "\\x4" << QString() << false;
    QTest::newRow("hex non-digit") << "\\xZZ" << QString() << false;
    QTest::newRow("hex nul") << "\\x00" << QString() << false;
    QTest::newRow("unicode nul") << "\\u{0}" << QString() << false;
    QTest::newRow("unicode no braces") << "\\u20AC" << QString() << false;
    QTest::newRow("unicode empty") << "\\u{}" << QString() << false;
    QTest::newRow("unicode unclosed") << "\\u{41" << QString() << false;
    QTest::newRow("unicode seven digits") << "\\u{0000041}" << QString() << false;
    QTest::newRow("unicode beyond range") << "\\u{110000}" << QString() << false;
    QTest::newRow("unicode surrogate") << "\\u{D800}" << QString() << false;
}

void TestSimCommandParser::unescape()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(bool, ok);
    QString error;
    const QString result = SimCommandParser::unescape(input, &error);
    QCOMPARE(!result.isNull(), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (ok)
        QCOMPARE(result, output);
}

void TestSimCommandParser::escapeLineRoundTrips_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "hello";
    QTest::newRow("newlines") << "a\nb\r\nc\r";
    QTest::newRow("backslashes") << "C:\\x41\\\\n";
    QTest::newRow("tab stays") << "a\tb";
    QTest::newRow("unicode") << QString::fromUtf8("73 de \xF0\x9F\x93\xBB \xC3\xA9");
}

void TestSimCommandParser::escapeLineRoundTrips()
{
    QFETCH(QString, text);
    const QString escaped = SimCommandParser::escapeLine(text);
    QVERIFY(!escaped.contains(u'\n'));
    QVERIFY(!escaped.contains(u'\r'));
    QString error;
    QCOMPARE(SimCommandParser::unescape(escaped, &error), text);
}

void TestSimCommandParser::describeError_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("lone unknown word") << "frob" << "line 3: unknown command \"frob\"";
    QTest::newRow("unknown with arguments") << "frob a" << "line 3: unknown command \"frob\" in \"frob a\"";
    QTest::newRow("bad argument") << "peers x" << "line 3: peers: \"x\" is not a 32-bit number (-2147483648..2147483647) in \"peers x\"";
}

void TestSimCommandParser::describeError()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    QCOMPARE(SimCommandParser::describeError(3, line, SimCommandParser::parse(line).error), message);
}

void TestSimCommandParser::commandsReachTheServer_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("connect") << "connect W1AW Hiram 10.0.0.1"
                             << QStringList{"NumPeers 1", "OnConnected QString=W1AW QString=Hiram QString=10.0.0.1"};
    QTest::newRow("connected list drives NumPeers")
        << "peers 7\nconnect A\nconnect A\ndisconnect B\ndisconnect A"
        << QStringList{"NumPeers 7", "NumPeers 1", "OnConnected QString=A QString= QString=", "NumPeers 1",
                       "OnConnected QString=A QString= QString=", "NumPeers 1", "OnDisconnected QString=B",
                       "NumPeers 0", "OnDisconnected QString=A"};
    QTest::newRow("flood-connect all up, then all down")
        << "flood-connect 2"
        << QStringList{"NumPeers 1", "OnConnected QString=S1 QString= QString=", "NumPeers 2",
                       "OnConnected QString=S2 QString= QString=", "NumPeers 1", "OnDisconnected QString=S1",
                       "NumPeers 0", "OnDisconnected QString=S2"};
    QTest::newRow("texts") << "chat a  b\nstation-text QRV\ndtmf 12#"
                           << QStringList{"OnChatTextReceived QString=a  b", "OnStationTextReceived QString=QRV",
                                          "OnDTMFString QString=12#"};
    QTest::newRow("switches") << "rx on\nptt off\ncd on\nlink off\ntx on"
                              << QStringList{"OnRX bool=true", "OnPTT bool=false", "OnCarrierDetect bool=true",
                                             "OnLinkStatusChange bool=false", "Transmitting bool=true"};
    QTest::newRow("numbers keep their widths") << "alarm K1 -5\nserial 2 -7"
                                               << QStringList{"OnAlarm QString=K1 short=-5", "OnSerialStatus int=2 int=-7"};
    QTest::newRow("no arguments") << "station-list\nclosing\ncallsign"
                                  << QStringList{"OnStationListReceived", "OnClosing", "Callsign \"\""};
    QTest::newRow("flood-chat") << "flood-chat 2 hi"
                                << QStringList{"OnChatTextReceived QString=hi 1", "OnChatTextReceived QString=hi 2"};
    QTest::newRow("raw as given") << "raw OnRX s:x\nraw-dispid -1 b:1"
                                  << QStringList{"OnRX QString=x", "dispid -1 bool=true"};
    QTest::newRow("busy and die") << "busy 1500\ndie" << QStringList{"busy 1500", "die"};
    QTest::newRow("printed, and nothing after quit")
        << "echo step 1\nfrob\nquit\nchat late"
        << QStringList{"printed step 1", "printed line 2: unknown command \"frob\"", "quit"};
}

void TestSimCommandParser::commandsReachTheServer()
{
    QFETCH(QString, script);
    QFETCH(QStringList, calls);
    RecordingServer server;
    SimCommandRunner runner(server);
    runner.start();
    connect(&runner, &SimCommandRunner::printed, this, [&server](const QString &line) { server.calls << "printed " + line; });
    connect(&runner, &SimCommandRunner::quitRequested, this, [&server] { server.calls << QStringLiteral("quit"); });
    for (const QString &line : script.split(u'\n'))
        runner.addLine(line);
    QCOMPARE(server.calls, calls);
}

void TestSimCommandParser::lineBufferCutsAtLineFeeds_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("lines across pieces") << QByteArrayList{"a\nb", "c\n", "\n"} << QStringList{"a", "bc", ""};
    QTest::newRow("last line without LF") << QByteArrayList{"a\nb"} << QStringList{"a", "b"};
    QTest::newRow("CR kept for the parser") << QByteArrayList{"a\r\n"} << QStringList{"a\r"};
    QTest::newRow("character split between pieces")
        << QByteArrayList{"\xC3", "\xA9\n"} << QStringList{QString(QChar(0xE9))};
    QTest::newRow("nothing") << QByteArrayList{} << QStringList{};
}

void TestSimCommandParser::lineBufferCutsAtLineFeeds()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(QStringList, lines);
    SimLineBuffer buffer;
    QStringList got;
    for (const QByteArray &piece : pieces)
        got += buffer.add(piece);
    got += buffer.finish();
    QCOMPARE(got, lines);
}

QTEST_APPLESS_MAIN(TestSimCommandParser)
#include "tst_simcommandparser.moc"
