#include "ChatFixture.h"
#include "ErrorCapture.h"

#include "main_window/transcript/SaveFileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#ifdef Q_OS_WIN
#include "CodePageBytes.h"

#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

const QByteArray Banner = "TarnWave Chat Version 1.30 by the TarnWave Chat team\r\n"
                          "Checked for update at https://tarnwave.example/chat\r\n";
const QByteArray EarlierFile = "an earlier transcript\r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

#ifndef Q_OS_WIN
// Lowers the largest file this process may write, as a file system that runs out of space
// would; a write past it fails with an error instead of the default signal.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

void save(const ChatFixture &chat, const QString &fileName)
{
    SaveFileDialog::setNextFileName(fileName);
    chat.trigger("Save1");
}

} // namespace

class TestTranscriptSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exactBytes_data();
    void exactBytes();
    void replacesEarlierContent();
    void cancelWritesNothing();
    void failingTarget_data();
    void failingTarget();
    void dialogSetUp();
};

void TestTranscriptSave::exactBytes_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QStringList>("own");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<bool>("clearFirst");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("banner only") << "N0CALL" << QStringList{} << QStringList{} << false << Banner;
    QTest::newRow("own and received")
        << "DL1ABC" << QStringList{"hello"} << QStringList{"W1AW>hi there"} << false
        << Banner + "DL1ABC>hello\r\nW1AW>hi there\r\n";
    // Long transcripts are encoded piecewise; a pair split between two pieces must survive.
    const QString longRun(256 * 1024 - 1, u'a');
#ifdef Q_OS_WIN
    QTest::newRow("non-ASCII in the code page")
        << QStringLiteral("ÖE1ŽŠ") << QStringList{QStringLiteral("Grüße \U0001F4FB")}
        << QStringList{QStringLiteral("ça va")} << true
        << codePageBytes(QStringLiteral("ÖE1ŽŠ>Grüße \U0001F4FB\r\nça va\r\n"));
    QTest::newRow("no-break space kept") << "N0CALL" << QStringList{QStringLiteral("a\u00A0b")} << QStringList{}
                                         << true << codePageBytes(QStringLiteral("N0CALL>a\u00A0b\r\n"));
    QTest::newRow("received breaks stay one line")
        << "N0CALL" << QStringList{} << QStringList{"x\r\nN0CALL>forged\n"} << true
        << codePageBytes(QStringLiteral("x\u240D\u240AN0CALL>forged\r\n"));
    QTest::newRow("surrogate pair 256 Ki characters in")
        << "N0CALL" << QStringList{} << QStringList{longRun + QStringLiteral("\U0001F4FB\u20AC")} << true
        << codePageBytes(longRun + QStringLiteral("\U0001F4FB\u20AC\r\n"));
#else
    QTest::newRow("non-ASCII in UTF-8")
        << QStringLiteral("ÖE1ŽŠ") << QStringList{QStringLiteral("Grüße \U0001F4FB")}
        << QStringList{QStringLiteral("ça va")} << true
        << QByteArray("\xc3\x96" "E1\xc5\xbd\xc5\xa0>Gr\xc3\xbc\xc3\x9f" "e \xf0\x9f\x93\xbb\r\n"
                      "\xc3\xa7" "a va\r\n");
    QTest::newRow("no-break space kept") << "N0CALL" << QStringList{QStringLiteral("a\u00A0b")} << QStringList{}
                                         << true << QByteArray("N0CALL>a\xc2\xa0" "b\r\n");
    QTest::newRow("received breaks stay one line")
        << "N0CALL" << QStringList{} << QStringList{"x\r\nN0CALL>forged\n"} << true
        << QByteArray("x\xe2\x90\x8d\xe2\x90\x8aN0CALL>forged\r\n");
    QTest::newRow("surrogate pair 256 Ki characters in")
        << "N0CALL" << QStringList{} << QStringList{longRun + QStringLiteral("\U0001F4FB\u20AC")} << true
        << longRun.toLatin1() + "\xf0\x9f\x93\xbb\xe2\x82\xac\r\n";
#endif
    QTest::newRow("cleared: empty file") << "N0CALL" << QStringList{} << QStringList{} << true << QByteArray();
}

void TestTranscriptSave::exactBytes()
{
    QFETCH(QString, callsign);
    QFETCH(QStringList, own);
    QFETCH(QStringList, received);
    QFETCH(bool, clearFirst);
    QFETCH(QByteArray, bytes);

    ErrorCapture errors;
    ChatFixture chat(callsign);
    chat.showDateTime(false);
    if (clearFirst)
        chat.trigger("ClearScreen1");
    for (const QString &text : own)
        chat.send(text);
    for (const QString &text : received)
        chat.receive(text);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chat.txt"));
    save(chat, path);
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(readFile(path), bytes);
}

void TestTranscriptSave::replacesEarlierContent()
{
    ErrorCapture errors;
    ChatFixture chat;
    chat.showDateTime(false);
    chat.trigger("ClearScreen1");
    chat.send(QStringLiteral("short"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chat.txt"));
    QVERIFY(writeFile(path, QByteArray(5000, 'x')));
    save(chat, path);
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(readFile(path), QByteArray("N0CALL>short\r\n"));
}

void TestTranscriptSave::cancelWritesNothing()
{
    ErrorCapture errors;
    ChatFixture chat;
    chat.showDateTime(false);
    QTemporaryDir dir;
    save(chat, QString());
    QCOMPARE(errors.messages, QStringList());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestTranscriptSave::failingTarget_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");   // the system's words, at the end of the message

#ifdef Q_OS_WIN
    // A folder's read-only flag does not stop Windows making files in it: a read-only file
    // stands in. Windows words its errors itself, in the system's language.
    QTest::newRow("read-only file") << "read-only" << "is not writable";
    QTest::newRow("missing folder") << "missing" << qt_error_string(ERROR_PATH_NOT_FOUND);
#else
    QTest::newRow("read-only folder") << "read-only" << "Permission denied";
    QTest::newRow("missing folder") << "missing" << "No such file or directory";
#endif
    QTest::newRow("target is a folder") << "folder" << "Filename refers to a directory";
    QTest::newRow("file system runs out of space") << "full" << "File too large";
}

void TestTranscriptSave::failingTarget()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);

    ErrorCapture errors;
    ChatFixture chat;
    chat.showDateTime(false);
    // More than the file size limit below, so the write fails part-way.
    for (int i = 0; i < 200; ++i)
        chat.send(QStringLiteral("line %1 of a transcript that is longer than the limit").arg(i));
    const QString before = chat.transcript->toPlainText();

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("chat.txt"));
    QVERIFY(writeFile(path, EarlierFile));
#ifdef Q_OS_WIN
    if (how == QLatin1String("full"))
        QSKIP("Windows has no per-process file size limit to make a write fail part-way");
#else
    std::unique_ptr<FileSizeLimit> limit;
#endif
    if (how == QLatin1String("read-only")) {
#ifdef Q_OS_WIN
        QFile::setPermissions(path, QFileDevice::ReadOwner);
#else
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
#endif
    } else if (how == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("gone/chat.txt"));
    } else if (how == QLatin1String("folder")) {
        path = dir.path();
    } else {
#ifndef Q_OS_WIN
        limit = std::make_unique<FileSizeLimit>(4096);
#endif
    }

    save(chat, path);
#ifdef Q_OS_WIN
    QFile::setPermissions(dir.filePath(QStringLiteral("chat.txt")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#else
    limit.reset();
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif

    QCOMPARE(errors.messages.size(), 1);
    QVERIFY2(errors.messages.constFirst().startsWith(QStringLiteral("Cannot save the transcript to ") + path),
             qPrintable(errors.messages.constFirst()));
    QVERIFY2(errors.messages.constFirst().contains(reason), qPrintable(errors.messages.constFirst()));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("chat.txt"))), EarlierFile);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chat.txt")});
    QCOMPARE(chat.transcript->toPlainText(), before);
}

void TestTranscriptSave::dialogSetUp()
{
    QFileDialog dialog;
    SaveFileDialog::configure(dialog);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("txt"));
    QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(!dialog.testOption(QFileDialog::ReadOnly));
    QVERIFY(dialog.isSizeGripEnabled());
    QCOMPARE(dialog.nameFilters(), QStringList{QFileDialog::tr("All Files (*)")});
    QVERIFY(dialog.selectedFiles().value(0).isEmpty() || QFileInfo(dialog.selectedFiles().value(0)).isDir());
}

QTEST_MAIN(TestTranscriptSave)
#include "tst_transcriptsave.moc"
