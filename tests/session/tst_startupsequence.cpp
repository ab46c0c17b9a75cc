#include "base/TarnWaveError.h"
#include "session/StartupSequence.h"

#include <QTest>

// Steps a (attach), b (once), c (attach), d (once): what runs, in which order, as the server
// fails at a step, goes away and comes back.
class TestStartupSequence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void lossWhileAStepRuns();
};

void TestStartupSequence::runs_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("complete");

    // "run", "run fail X" (step X throws in that run), "lost".
    QTest::newRow("all at once") << QStringList{"run"} << "abcd" << true;
    QTest::newRow("nothing twice") << QStringList{"run", "run", "run"} << "abcd" << true;
    QTest::newRow("first step fails, then all") << QStringList{"run fail a", "run"} << "a!abcd" << true;
    QTest::newRow("carries on at the failed step")
        << QStringList{"run fail c", "run"} << "abc!cd" << true;
    QTest::newRow("fails twice at the same step")
        << QStringList{"run fail c", "run fail c", "run"} << "abc!c!cd" << true;
    QTest::newRow("after a loss only the attaching steps")
        << QStringList{"run", "lost", "run"} << "abcdac" << true;
    QTest::newRow("loss before start-up finished")
        << QStringList{"run fail d", "lost", "run"} << "abcd!acd" << true;
    QTest::newRow("loss, then the second attach fails")
        << QStringList{"run", "lost", "run fail c", "run"} << "abcdac!c" << true;
    QTest::newRow("lost twice before coming back")
        << QStringList{"run", "lost", "run fail a", "lost", "run"} << "abcda!ac" << true;
    QTest::newRow("still incomplete") << QStringList{"run fail b"} << "ab!" << false;
    QTest::newRow("incomplete after a loss") << QStringList{"run", "lost"} << "abcd" << false;
}

void TestStartupSequence::runs()
{
    QFETCH(QStringList, script);
    QFETCH(QString, expected);
    QFETCH(bool, complete);

    QString log;
    QString failing;
    StartupSequence sequence;
    for (const char name : {'a', 'b', 'c', 'd'}) {
        const auto repeat = name == 'a' || name == 'c' ? StartupSequence::Repeat::EachAttach
                                                       : StartupSequence::Repeat::Once;
        sequence.addStep(repeat, [&log, &failing, name] {
            log += QLatin1Char(name);
            if (failing == QLatin1Char(name))
                throw TarnWaveError(QStringLiteral("not running"));
        });
    }
    for (const QString &line : script) {
        if (line == u"lost") {
            sequence.linkLost();
            continue;
        }
        failing = line.section(u' ', 2);
        try {
            sequence.run();
        } catch (const TarnWaveError &) {
            log += u'!';
        }
    }
    QCOMPARE(log, expected);
    QCOMPARE(sequence.isComplete(), complete);
}

void TestStartupSequence::lossWhileAStepRuns()
{
    // A call that shows the server gone reports the loss from inside the step that made it.
    QString log;
    StartupSequence sequence;
    bool loseOnce = true;
    sequence.addStep(StartupSequence::Repeat::EachAttach, [&] { log += u'a'; });
    sequence.addStep(StartupSequence::Repeat::Once, [&] {
        log += u'b';
        if (loseOnce) {
            loseOnce = false;
            sequence.linkLost();
            throw TarnWaveError(QStringLiteral("gone"));
        }
    });
    QVERIFY_THROWS_EXCEPTION(TarnWaveError, sequence.run());
    QVERIFY(!sequence.isComplete());
    sequence.run();
    QCOMPARE(log, QStringLiteral("abab"));
    QVERIFY(sequence.isComplete());
}

QTEST_GUILESS_MAIN(TestStartupSequence)
#include "tst_startupsequence.moc"
