#include "ErrorCapture.h"
#include "LocalPresence.h"
#include "SimulatorProcess.h"

#include "main_window/TForm1.h"
#include "main_window/transcript/SaveFileDialog.h"
#include "session/TTarnWaveSession.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QAction>
#include <QDBusConnection>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QSignalSpy>
#include <QTimer>

class TestLoadSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void floodsWhileTheOperatorTypes();
};

void TestLoadSession::floodsWhileTheOperatorTypes()
{
    constexpr int ChatLines = 100000;
    constexpr int Stations = 10000;
    constexpr int OwnLines = 40;

    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport, nullptr, localPresence());
    window.findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
    auto *transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    window.show();
    // Counted at the event wrapper, so a loss shows whether it happened on the bus or in the window.
    const auto *wrapper = window.findChild<TTarnWaveSession *>(QStringLiteral("TarnWaveSession1"));
    QSignalSpy connects(wrapper, &TTarnWaveSession::OnConnected);
    QSignalSpy disconnects(wrapper, &TTarnWaveSession::OnDisconnected);

    simulator.send(QStringLiteral("flood-chat %1 line").arg(ChatLines));
    simulator.send(QStringLiteral("flood-connect %1").arg(Stations));
    simulator.send(QStringLiteral("connect K1ABC"));
    simulator.send(QStringLiteral("connect W1\\x20AW"));
    simulator.send(QStringLiteral("chat last"));
    // The simulator answers no call while it emits a flood, so the operator starts once it has
    // sent everything and the window still has most of it to take in.
    QVERIFY(simulator.sync(60000));

    // The operator keeps typing while the floods arrive.
    int sent = 0;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, &window, [&] {
        input->setText(QStringLiteral("own %1").arg(++sent));
        QTest::keyClick(input, Qt::Key_Return);
        if (sent == OwnLines)
            typing.stop();
    });
    typing.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(sent == OwnLines && transcript->document()->lastBlock().previous().text()
                                 == QStringLiteral("last"), 240000);
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(connects.count(), Stations + 2);
    QCOMPARE(disconnects.count(), Stations);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("load.txt"));
    SaveFileDialog::setNextFileName(path);
    window.findChild<QAction *>(QStringLiteral("Save1"))->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');

    // Every received and every own line exactly once, each kind in its order.
    int nextReceived = 1;
    int nextOwn = 1;
    int receivedBeforeOwn = 0;
    for (QByteArray line : lines.mid(2)) {
        line.chop(1);
        if (line == "line " + QByteArray::number(nextReceived)) {
            ++nextReceived;
        } else if (line == "N0CALL>own " + QByteArray::number(nextOwn)) {
            if (nextOwn++ == 1)
                receivedBeforeOwn = nextReceived - 1;
        } else
            QVERIFY2(line == "last" || line.isEmpty(), line.constData());
    }
    QCOMPARE(nextReceived, ChatLines + 1);
    // Typed while the flood was still coming in.
    QVERIFY2(receivedBeforeOwn < ChatLines, qPrintable(QString::number(receivedBeforeOwn)));
    QCOMPARE(nextOwn, OwnLines + 1);
    QCOMPARE(lines.size(), 2 + ChatLines + OwnLines + 1 + 1);

    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText own %1").arg(OwnLines)));
    for (int i = 1; i <= OwnLines; ++i)
        QCOMPARE(simulator.output().count(QStringLiteral("SendChatText own %1").arg(i)), 1);
    // The flood's stations have all left again; the two that stayed are shown as the server has them.
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("StaticText2"))->text(), QStringLiteral("Connected"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("StaticText3"))->text(), QStringLiteral("K1ABC,\"W1 AW\""));
}

QTEST_MAIN(TestLoadSession)
#include "tst_load_session.moc"
