#include "about/TForm2.h"
#include "base/ProgramConstants.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace {

const QUrl AboutPage(QString::fromLatin1(ProgramConstants::AboutPageAddress));
constexpr int LoadTimeoutMs = 30000;

} // namespace

// Stands in for the desktop's browser.
class BrowserRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void openUrl(const QUrl &url) { opened << url; }
};

// Links on the about page, followed as the operator would. Kept apart from the window's other
// tests: linking the engine here would load it before their first showing.
class TestAboutLinks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linksOpenInTheDesktopBrowser_data();
    void linksOpenInTheDesktopBrowser();
};

void TestAboutLinks::linksOpenInTheDesktopBrowser_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("same window") << "";
    QTest::newRow("new window") << "_blank";
}

void TestAboutLinks::linksOpenInTheDesktopBrowser()
{
    QFETCH(QString, target);
    BrowserRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "openUrl");

    TForm2 about;
    QSignalSpy loaded(&about, &TForm2::pageLoadFinished);
    about.show();
    QVERIFY(loaded.wait(LoadTimeoutMs));
    QVERIFY(loaded.last().at(0).toBool());
    auto *view = about.findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
    QVERIFY(view);

    // The page runs no scripts of its own; the test clicks from the application's world.
    view->page()->runJavaScript(QStringLiteral("var a = document.querySelector('a[href^=\"https:\"]');"
                                               "a.target = '%1'; a.click();").arg(target),
                                QWebEngineScript::ApplicationWorld);

    QTRY_COMPARE_WITH_TIMEOUT(browser.opened, QList<QUrl>{QUrl(QString::fromLatin1(ProgramConstants::MakerWebAddress))},
                              LoadTimeoutMs);
    // A script run after the click is answered after the page's requests from the click have
    // reached the window, since the engine keeps a frame's messages in order; the page is still
    // the about page then.
    const auto answer = std::make_shared<QVariant>();
    view->page()->runJavaScript(QStringLiteral("location.href"), QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant &href) { *answer = href; });
    QTRY_VERIFY_WITH_TIMEOUT(answer->isValid(), LoadTimeoutMs);
    QCOMPARE(QUrl(answer->toString()), AboutPage);
    QCOMPARE(view->url(), AboutPage);
    QCOMPARE(browser.opened.size(), 1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

QTEST_MAIN(TestAboutLinks)
#include "tst_aboutlinks.moc"
