#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "about/AboutPageView.h"
#include "about/AboutPageViewLoader.h"
#include "about/TForm2.h"
#include "base/ProgramConstants.h"
#include "base/widgets/ProgramLook.h"
#include "main_window/TForm1.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

const QUrl AboutPage(QString::fromLatin1(ProgramConstants::AboutPageAddress));
// The engine starts a renderer process on first use, which can take a while on a busy machine.
constexpr int LoadTimeoutMs = 30000;

bool webEngineLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

QWidget *webBrowser(const TForm2 &about)
{
    return about.findChild<QWidget *>(QStringLiteral("WebBrowser1"));
}

// Shows the window and waits for the page it navigates to.
bool showAndLoad(TForm2 &about)
{
    QSignalSpy loaded(&about, &TForm2::pageLoadFinished);
    about.show();
    return (!loaded.isEmpty() || loaded.wait(LoadTimeoutMs)) && loaded.last().at(0).toBool();
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // First: it checks the process before anything here touched the engine.
    void engineLoadsOnFirstShowing();
    void layout();
    void lines_data();
    void lines();
    void navigatesOnEveryShowing();
    void closes_data();
    void closes();
    void aboutMenuShowsItModally();
    void aboutPageNamesTheProgram_data();
    void aboutPageNamesTheProgram();
    void fallbackWithoutPlugin();
};

void TestAboutWindow::engineLoadsOnFirstShowing()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    TForm2 about(&window);
    window.setAboutWindow(&about);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!webEngineLoaded());
    QVERIFY(!webBrowser(about));

    QVERIFY(showAndLoad(about));
#ifdef Q_OS_WIN
    // The Windows build has no web engine at all: the page shows in the plain text view.
    QVERIFY(qobject_cast<QTextBrowser *>(webBrowser(about)));
#else
    QVERIFY(webEngineLoaded());
    QVERIFY(webBrowser(about)->inherits("QWebEngineView"));
#endif
}

void TestAboutWindow::layout()
{
    TForm2 about;
    QCOMPARE(about.windowTitle(), QStringLiteral("   About"));
    QCOMPARE(about.windowType(), Qt::Tool);
    QCOMPARE(about.size(), QSize(321, 368));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(about.palette().color(QPalette::Window), ProgramLook::systemColor("clBtnFace"));

    QVERIFY(showAndLoad(about));
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(webBrowser(about)->geometry(), QRect(0, 80, 321, 249));

    const auto *ok = about.findChild<QPushButton *>(QStringLiteral("Button1"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(120, 336, 81, 25));
    QVERIFY(ok->isDefault());
    QVERIFY(ok->hasFocus());

    const QRect screen = about.screen()->availableGeometry();
    QVERIFY2(qAbs(about.frameGeometry().center().x() - screen.center().x()) <= 1, "not centred");
    QVERIFY2(qAbs(about.frameGeometry().center().y() - screen.center().y()) <= 1, "not centred");
}

void TestAboutWindow::lines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("top");
    QTest::newRow("first") << "Label1" << "" << 0;
    QTest::newRow("name") << "Label2" << "TarnWave Chat" << 20;
    QTest::newRow("version") << "Label3" << "Version 1.30 (5 August 2005)" << 40;
    QTest::newRow("last") << "Label4" << "" << 60;
}

void TestAboutWindow::lines()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, top);
    const TForm2 about;
    const auto *label = about.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), QRect(0, top, 321, 20));
    QCOMPARE(label->alignment(), Qt::AlignCenter);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(label->font().pointSize(), 10);
}

void TestAboutWindow::navigatesOnEveryShowing()
{
    TForm2 about;
    QCOMPARE(about.pageAddress(), QUrl());
    for (int showing = 0; showing < 3; ++showing) {
        QVERIFY(showAndLoad(about));
        QCOMPARE(about.pageAddress(), AboutPage);

        // Wherever the view went meanwhile, the next showing brings the about page back.
        QSignalSpy loaded(&about, &TForm2::pageLoadFinished);
        qobject_cast<AboutPageView *>(webBrowser(about))->navigate(QUrl(QStringLiteral("about:blank")));
        // The plain text view (the only one on Windows) reports before navigate() returns.
        QVERIFY(!loaded.isEmpty() || loaded.wait(LoadTimeoutMs));
        QCOMPARE(about.pageAddress(), QUrl(QStringLiteral("about:blank")));
        about.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QVERIFY(!about.isVisible());
    }
}

void TestAboutWindow::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "click";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("keypad Enter") << "keypad";
    QTest::newRow("Enter in the page") << "page";
}

void TestAboutWindow::closes()
{
    QFETCH(QString, how);
    TForm2 about;
    QVERIFY(showAndLoad(about));
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    if (how == QLatin1String("page")) {
        QWidget *page = webBrowser(about)->focusProxy() ? webBrowser(about)->focusProxy() : webBrowser(about);
        page->setFocus();
        QTRY_VERIFY(page->hasFocus());
        how = QStringLiteral("enter");
    }
    if (how == QLatin1String("click"))
        QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    else
        QTest::keyClick(QApplication::focusWidget(), how == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Enter,
                        how == QLatin1String("enter") ? Qt::NoModifier : Qt::KeypadModifier);

    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestAboutWindow::aboutMenuShowsItModally()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    TForm2 about(&window);
    window.setAboutWindow(&about);
    window.show();

    bool wasModal = false;
    QTimer::singleShot(0, &about, [&] {
        wasModal = about.isVisible() && about.isModal();
        about.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    });
    window.findChild<QAction *>(QStringLiteral("About1"))->trigger();
    QVERIFY(wasModal);
    QVERIFY(!about.isVisible());
}

void TestAboutWindow::aboutPageNamesTheProgram_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("name") << QString::fromLatin1(ProgramConstants::ApplicationTitle);
    QTest::newRow("version") << QString::fromLatin1(ProgramConstants::VersionText);
    QTest::newRow("author") << QString::fromLatin1(ProgramConstants::AuthorCredit);
    QTest::newRow("maker") << QStringLiteral("href=\"%1\"").arg(QLatin1String(ProgramConstants::MakerWebAddress));
}

void TestAboutWindow::aboutPageNamesTheProgram()
{
    // The page ships as a resource and must say what the constants say.
    QFETCH(QString, text);
    QFile page(QLatin1Char(':') + AboutPage.path());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(page.readAll()).contains(text));
}

void TestAboutWindow::fallbackWithoutPlugin()
{
    QWidget parent;
    QWidget *view = createAboutPageView(&parent, QStringLiteral("/nonexistent/libtarnwave_aboutview.so"));
    QVERIFY(qobject_cast<QTextBrowser *>(view));
    auto *page = qobject_cast<AboutPageView *>(view);
    QVERIFY(page);
    bool loadedOk = false;
    page->setLoadFinishedHandler([&](bool ok) { loadedOk = ok; });
    page->navigate(AboutPage);
    QVERIFY(loadedOk);
    QCOMPARE(page->address(), AboutPage);
    QVERIFY(qobject_cast<QTextBrowser *>(view)->toPlainText().contains(QLatin1String(ProgramConstants::VersionText)));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
