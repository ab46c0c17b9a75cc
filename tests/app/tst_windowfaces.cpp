#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "app/ProgramWindows.h"
#include "base/ApplicationIdentity.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>

#include <memory>

// The face each window is drawn in, as the platform resolves it: every control of a window in
// one sans face, the transcript and the Options preview in it too, while the name the program
// shows and stores stays "MS Sans Serif". Run on Windows with the Windows platform plugin, where
// that name is a bitmap font the font engine cannot draw, and on Linux as the desktop has it.
namespace {

const QString ProgramFace = QStringLiteral("MS Sans Serif");

// The sans faces a window may be drawn in here.
QStringList sansFaces()
{
    if (QGuiApplication::platformName() == QLatin1String("windows"))
        return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")};
    return {QFontInfo(QFont(QStringLiteral("sans-serif"))).family()};
}

// A widget that shows text in its own font; menus are drawn in the system's menu font.
bool showsText(const QWidget &widget)
{
    return qobject_cast<const QLabel *>(&widget) || qobject_cast<const QAbstractButton *>(&widget)
        || qobject_cast<const QLineEdit *>(&widget) || qobject_cast<const QComboBox *>(&widget)
        || qobject_cast<const QTextEdit *>(&widget) || qobject_cast<const QTabBar *>(&widget);
}

// Resolved family -> the controls of the window drawn in it.
QMap<QString, QStringList> facesOfControls(const QWidget &window)
{
    QMap<QString, QStringList> faces;
    const QList<QWidget *> widgets = window.findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (widget->window() != &window || !showsText(*widget))
            continue;
        const QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                            : widget->objectName();
        faces[QFontInfo(widget->font()).family()] << name;
    }
    return faces;
}

QString describe(const QMap<QString, QStringList> &faces)
{
    QStringList parts;
    for (auto it = faces.cbegin(); it != faces.cend(); ++it)
        parts << it.key() + QStringLiteral(": ") + it.value().join(QLatin1Char(' '));
    return parts.join(QStringLiteral("; "));
}

// The face the text of a document's line is drawn in: its format over the view's own font.
QString faceOfLine(const QTextEdit &view, const QTextBlock &line)
{
    const QTextCharFormat format = line.begin().fragment().charFormat();
    return QFontInfo(format.font().resolve(view.font())).family();
}

} // namespace

class tst_WindowFaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void controlsShareOneSansFace_data();
    void controlsShareOneSansFace();
    void textIsDrawnInTheWindowsFace_data();
    void textIsDrawnInTheWindowsFace();
    void namesStayMsSansSerif_data();
    void namesStayMsSansSerif();

private:
    QWidget *windowNamed(const QString &name) const;

    FakeSessionTransport m_transport;
    std::unique_ptr<ProgramWindows> m_windows;
};

void tst_WindowFaces::initTestCase()
{
    setApplicationIdentity();
    m_transport.setCallsign(QStringLiteral("N0CALL"));
    m_windows = std::make_unique<ProgramWindows>(m_transport, localPresence());
    // An own line and a received one in the transcript.
    auto *input = m_windows->mainWindow.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    QVERIFY(input);
    input->setText(QStringLiteral("own line"));
    QTest::keyClick(input, Qt::Key_Return);
    m_transport.fire(QStringLiteral("OnChatTextReceived"), {QStringLiteral("received line")});
#ifdef Q_OS_WIN
    // The About window's page view, made when the window is first shown.
    m_windows->about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_windows->about));
    m_windows->about.hide();
#endif
}

QWidget *tst_WindowFaces::windowNamed(const QString &name) const
{
    if (name == QLatin1String("main"))
        return &m_windows->mainWindow;
    if (name == QLatin1String("options"))
        return &m_windows->options;
    return &m_windows->about;
}

void tst_WindowFaces::controlsShareOneSansFace_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << QStringLiteral("main");
    QTest::newRow("Options dialog") << QStringLiteral("options");
    QTest::newRow("About window") << QStringLiteral("about");
}

void tst_WindowFaces::controlsShareOneSansFace()
{
    QFETCH(QString, window);
    const QMap<QString, QStringList> faces = facesOfControls(*windowNamed(window));
    QVERIFY2(faces.size() == 1, qPrintable(QStringLiteral("more than one face: ") + describe(faces)));
    QVERIFY2(sansFaces().contains(faces.firstKey()),
             qPrintable(QStringLiteral("not a sans face of this platform (%1): %2")
                            .arg(sansFaces().join(QStringLiteral(", ")), describe(faces))));
}

void tst_WindowFaces::textIsDrawnInTheWindowsFace_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("line");
    QTest::newRow("transcript, own line") << QStringLiteral("main") << QStringLiteral("ChatWindow") << 0;
    QTest::newRow("transcript, received line") << QStringLiteral("main") << QStringLiteral("ChatWindow") << 1;
    QTest::newRow("Options preview, own line") << QStringLiteral("options") << QStringLiteral("PreviewText") << 0;
    QTest::newRow("Options preview, received line") << QStringLiteral("options") << QStringLiteral("PreviewText") << 1;
#ifdef Q_OS_WIN
    // Elsewhere the page is the web engine's, drawn in its own process.
    QTest::newRow("About page") << QStringLiteral("about") << QStringLiteral("WebBrowser1") << 0;
#endif
}

void tst_WindowFaces::textIsDrawnInTheWindowsFace()
{
    QFETCH(QString, window);
    QFETCH(QString, view);
    QFETCH(int, line);
    const QWidget *target = windowNamed(window);
    const auto *text = target->findChild<QTextEdit *>(view);
    QVERIFY2(text, qPrintable(view + QStringLiteral(" is no text view")));
    const QTextBlock block = text->document()->findBlockByNumber(line);
    QVERIFY2(block.isValid() && !block.text().isEmpty(), qPrintable(QStringLiteral("no line %1").arg(line)));
    const QMap<QString, QStringList> controls = facesOfControls(*target);
    QVERIFY(!controls.isEmpty());
    QCOMPARE(faceOfLine(*text, block), controls.firstKey());
}

void tst_WindowFaces::namesStayMsSansSerif_data()
{
    QTest::addColumn<QString>("shown");
    const TDisplaySettings &settings = m_windows->mainWindow.displaySettings();
    QTest::newRow("default face of the settings") << settings.DefaultFontName;
    QTest::newRow("transcript face of the settings") << settings.ChatFontName;
    QTest::newRow("Options dialog's face box")
        << m_windows->options.findChild<QComboBox *>(QStringLiteral("FontName"))->currentText();
    QTest::newRow("main window's font") << m_windows->mainWindow.font().family();
    QTest::newRow("About window's font") << m_windows->about.font().family();
}

void tst_WindowFaces::namesStayMsSansSerif()
{
    QFETCH(QString, shown);
    QCOMPARE(shown, ProgramFace);
}

QTEST_MAIN(tst_WindowFaces)
#include "tst_windowfaces.moc"
