#include "ErrorCapture.h"
#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "base/SystemColors.h"
#include "main_window/TForm1.h"
#include "main_window/logic/DisplaySettingsTarget.h"
#include "options/ColorListBox.h"
#include "options/TOptionsForm.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString MyLine = QStringLiteral("My Text Chat");
const QString ReceivedLine = QStringLiteral("Received Text");

QColor windowColor()
{
    return systemColor(QStringLiteral("clWindow"), QApplication::palette());
}

// A main window on a fake session with its Options dialog, created in program order.
struct Setup
{
    explicit Setup(bool startupFails = false)
    {
        if (startupFails)
            transport.missingServers.insert(QString::fromLatin1(TarnWave_TLB::SessionProgId));
        window = std::make_unique<TForm1>(transport, nullptr, localPresence());
        form = std::make_unique<TOptionsForm>(*window, window.get());
    }

    template<typename T>
    T *control(const char *name) const
    {
        auto *found = form->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    QComboBox *box(const char *name) const { return control<QComboBox>(name); }
    ColorListBox *colors(const char *name) const { return control<ColorListBox>(name); }
    QTextEdit *preview() const { return control<QTextEdit>("PreviewText"); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    const TDisplaySettings &settings() const { return window->displaySettings(); }

    QColor transcriptBackground() const
    {
        return window->findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->palette().color(QPalette::Base);
    }

    QString line(int number) const { return preview()->document()->findBlockByNumber(number).text(); }

    QTextCharFormat lineFormat(int number) const
    {
        return preview()->document()->findBlockByNumber(number).begin().fragment().charFormat();
    }

    QColor lineColor(int number) const { return lineFormat(number).foreground().color(); }

    QColor previewBackground() const { return preview()->palette().color(QPalette::Base); }

    // What the operator's edits leave in the preview, to see whether a refresh ran.
    void editPreviewLine0(const QString &text) const
    {
        QTextCursor cursor(preview()->document()->findBlockByNumber(0));
        cursor.insertText(text);
    }

    FakeSessionTransport transport;
    std::unique_ptr<TForm1> window;
    std::unique_ptr<TOptionsForm> form;
};

// As the operator picks an entry from a list: the entry becomes current, then activated.
void choose(QComboBox *box, int index)
{
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

void choose(QComboBox *box, const QString &entry)
{
    choose(box, box->findText(entry, Qt::MatchExactly));
}

// As the operator replaces the text of an editable box in one go (paste, or select and type).
void enterText(QComboBox *box, const QString &text)
{
    box->lineEdit()->selectAll();
    box->lineEdit()->insert(text);
}

// A window of its own for the dialog: records what the dialog writes, with no main window.
class RecordingTarget : public DisplaySettingsTarget
{
public:
    const TDisplaySettings &displaySettings() const override { return settings; }
    void setDisplaySettings(const TDisplaySettings &written) override { settings = written; }
    void setTranscriptBackground(const QColor &color) override { background = color; }

    TDisplaySettings settings;
    QColor background;
};

QString someFace(const QComboBox *fontName)
{
    return fontName->itemText(fontName->count() / 2);
}

} // namespace

class TestOptionsForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void window();
    void controls_data();
    void controls();
    void lists();
    void initialState_data();
    void initialState();
    void faceChange_data();
    void faceChange();
    void sizeChange_data();
    void sizeChange();
    void styleChange_data();
    void styleChange();
    void colorChange_data();
    void colorChange();
    void refreshRestoresEditedLines();
    void sizeErrors_data();
    void sizeErrors();
    void okApplies();
    void okWithoutChanges();
    void closingWithoutOk_data();
    void closingWithoutOk();
    void reopenShowsWhatWasLeft();
    void reset();
    void keys_data();
    void keys();
    void optionsMenuOpensModally();
    void servesAnyTarget_data();
    void servesAnyTarget();
};

void TestOptionsForm::window()
{
    Setup setup;
    TOptionsForm &form = *setup.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("   Options"));
    QCOMPARE(form.size(), QSize(322, 360));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form.font().pointSize(), 8);
    QCOMPARE(form.windowType(), Qt::Tool);
    QVERIFY(form.windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(form.parentWidget(), setup.window.get());

    // Centred on the desktop each time it opens, wherever the operator left it.
    for (int opening = 0; opening < 2; ++opening) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint centre = form.screen()->availableGeometry().center();
        QVERIFY2((form.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre at %1,%2").arg(form.frameGeometry().center().x())
                                .arg(form.frameGeometry().center().y())));
        form.move(0, 0);
        form.hide();
    }
}

void TestOptionsForm::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("page control") << "PageControl1" << QRect(8, 8, 305, 305) << QString();
    QTest::newRow("button bar") << "Panel1" << QRect(0, 319, 322, 41) << QString();
    QTest::newRow("Reset") << "ResetDefaultBtn" << QRect(8, 8, 73, 25) << "Reset";
    QTest::newRow("OK") << "OKBtn" << QRect(152, 8, 75, 25) << "OK";
    QTest::newRow("Cancel") << "CancelBtn" << QRect(240, 8, 75, 25) << "Cancel";
    QTest::newRow("face") << "FontName" << QRect(8, 56, 145, 21) << QString();
    QTest::newRow("size") << "FontSize" << QRect(160, 56, 49, 21) << QString();
    QTest::newRow("style") << "FontStyle" << QRect(216, 56, 73, 21) << QString();
    QTest::newRow("my colour") << "MyTextColorBox" << QRect(159, 97, 130, 22) << QString();
    QTest::newRow("received colour") << "RecvTextColorBox" << QRect(159, 127, 130, 22) << QString();
    QTest::newRow("background") << "BGColorBox" << QRect(159, 157, 130, 22) << QString();
}

void TestOptionsForm::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    Setup setup;
    setup.form->show();
    const auto *widget = setup.form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        QCOMPARE(button->text(), caption);
}

void TestOptionsForm::lists()
{
    Setup setup;
    setup.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(setup.form.get()));

    const auto *tabs = setup.control<QTabWidget>("PageControl1");
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Font"));
    const QWidget *page = tabs->widget(0);
    QStringList captions;
    for (const QLabel *label : page->findChildren<QLabel *>())
        captions << label->text();
    QCOMPARE(captions, (QStringList{"Font", "Size", "Style", "My Text Color", "Received Text Color",
                                    "Background Color", "Preview"}));

    // The preview is docked along the page's bottom.
    const QTextEdit *preview = setup.preview();
    QCOMPARE(preview->parentWidget(), page);
    QCOMPARE(preview->geometry(), QRect(0, page->height() - 65, page->width(), 65));
    QVERIFY(!preview->isReadOnly());
    QVERIFY(!preview->acceptRichText());

    const QComboBox *face = setup.box("FontName");
    QVERIFY(face->isEditable());
    QStringList faces;
    for (int i = 0; i < face->count(); ++i)
        faces << face->itemText(i);
    QVERIFY(!faces.isEmpty());
    QStringList expected = faces;
    std::sort(expected.begin(), expected.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(faces, expected);
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            QVERIFY2(faces.contains(family), qPrintable(family));
    }

    const QComboBox *size = setup.box("FontSize");
    QVERIFY(size->isEditable());
    QStringList sizes;
    for (int i = 0; i < size->count(); ++i)
        sizes << size->itemText(i);
    QCOMPARE(sizes, (QStringList{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
                                 "28", "36", "48", "72"}));

    const QComboBox *style = setup.box("FontStyle");
    QVERIFY(!style->isEditable());
    QCOMPARE(style->count(), 4);
    QCOMPARE((QStringList{style->itemText(0), style->itemText(1), style->itemText(2), style->itemText(3)}),
             (QStringList{"Regular", "Bold", "Italic", "Bold Italic"}));
}

void TestOptionsForm::initialState_data()
{
    QTest::addColumn<bool>("startupFails");
    QTest::newRow("after start-up") << false;
    // The display defaults were never set; the dialog still offers the program's own.
    QTest::newRow("start-up stopped early") << true;
}

void TestOptionsForm::initialState()
{
    QFETCH(bool, startupFails);
    ErrorCapture errors;
    Setup setup(startupFails);
    QCOMPARE(errors.messages.size(), startupFails ? 1 : 0);

    // The default face need not be installed: the box still shows it.
    QCOMPARE(setup.box("FontName")->currentText(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(setup.box("FontSize")->currentText(), QStringLiteral("10"));
    QCOMPARE(setup.box("FontStyle")->currentText(), QStringLiteral("Regular"));
    QCOMPARE(setup.colors("MyTextColorBox")->currentText(), QStringLiteral("clBlack"));
    QCOMPARE(setup.colors("RecvTextColorBox")->currentText(), QStringLiteral("clBlack"));
    QCOMPARE(setup.colors("BGColorBox")->currentText(), QStringLiteral("clWhite"));

    QCOMPARE(setup.preview()->document()->blockCount(), 2);
    QCOMPARE(setup.line(0), MyLine);
    QCOMPARE(setup.line(1), ReceivedLine);
    QCOMPARE(setup.lineColor(0), QColor(0, 0, 0));
    QCOMPARE(setup.lineColor(1), QColor(0, 0, 0));
    QCOMPARE(setup.previewBackground(), windowColor());
    const QFont font = setup.preview()->font();
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.pointSize(), 10);
    QVERIFY(!font.bold() && !font.italic());
    QCOMPARE(errors.messages.size(), startupFails ? 1 : 0);
}

void TestOptionsForm::faceChange_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("chosen from the list") << "choose";
    QTest::newRow("typed as listed") << "type";
    QTest::newRow("typed key by key, completed") << "keys";
    QTest::newRow("typed in other case") << "type lower";
    QTest::newRow("typed, not listed") << "unknown";
    QTest::newRow("emptied") << "empty";
}

void TestOptionsForm::faceChange()
{
    QFETCH(QString, how);
    ErrorCapture errors;
    Setup setup;
    QComboBox *fontName = setup.box("FontName");
    const QString face = someFace(fontName);
    setup.editPreviewLine0(QStringLiteral("x"));

    QString expectedFace = face;
    if (how == QLatin1String("choose")) {
        choose(fontName, face);
    } else if (how == QLatin1String("type")) {
        enterText(fontName, face);
    } else if (how == QLatin1String("keys")) {
        enterText(fontName, QString());
        QTest::keyClicks(fontName->lineEdit(), face);
    } else if (how == QLatin1String("type lower")) {
        enterText(fontName, face.toLower());
    } else if (how == QLatin1String("unknown")) {
        enterText(fontName, QStringLiteral("No Such Face 12345"));
        expectedFace.clear();
    } else {
        enterText(fontName, QString());
        expectedFace.clear();
    }

    QCOMPARE(setup.preview()->font().family(), expectedFace);
    QCOMPARE(setup.preview()->font().pointSize(), 10);
    QCOMPARE(setup.line(0), MyLine);
    QCOMPARE(setup.line(1), ReceivedLine);

    // OK stores the box's text whatever the preview made of it.
    const QString text = fontName->currentText();
    setup.button("OKBtn")->click();
    QCOMPARE(setup.settings().ChatFontName, text);
    QCOMPARE(errors.messages, QStringList());
}

void TestOptionsForm::sizeChange_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");

    QTest::newRow("chosen") << "choose" << "14" << 14;
    QTest::newRow("largest entry") << "choose" << "72" << 72;
    QTest::newRow("typed, not listed") << "type" << "13" << 13;
    QTest::newRow("typed, largest allowed") << "type" << "1638" << 1638;
    QTest::newRow("typed with spaces") << "type" << " 9 " << 9;
}

void TestOptionsForm::sizeChange()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(int, size);
    ErrorCapture errors;
    Setup setup;
    QComboBox *fontSize = setup.box("FontSize");
    setup.editPreviewLine0(QStringLiteral("x"));

    if (how == QLatin1String("choose"))
        choose(fontSize, text);
    else
        enterText(fontSize, text);

    QCOMPARE(setup.preview()->font().pointSize(), size);
    QCOMPARE(setup.preview()->document()->defaultFont().pointSize(), size);
    QCOMPARE(setup.line(0), MyLine);
    QCOMPARE(errors.messages, QStringList());

    setup.button("OKBtn")->click();
    QCOMPARE(setup.settings().ChatFontSize, size);
}

void TestOptionsForm::styleChange_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("Regular") << 0 << false << false;
    QTest::newRow("Bold") << 1 << true << false;
    QTest::newRow("Italic") << 2 << false << true;
    QTest::newRow("Bold Italic") << 3 << true << true;
}

void TestOptionsForm::styleChange()
{
    QFETCH(int, position);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    Setup setup;
    QComboBox *style = setup.box("FontStyle");
    // From a different style first, so Regular has something to undo.
    choose(style, position == 3 ? 0 : 3);
    setup.editPreviewLine0(QStringLiteral("x"));

    choose(style, position);
    QCOMPARE(setup.preview()->font().bold(), bold);
    QCOMPARE(setup.preview()->font().italic(), italic);
    QCOMPARE(setup.line(0), MyLine);

    setup.button("OKBtn")->click();
    QCOMPARE(setup.settings().ChatFontStyle.testFlag(FontStyleFlag::Bold), bold);
    QCOMPARE(setup.settings().ChatFontStyle.testFlag(FontStyleFlag::Italic), italic);
}

void TestOptionsForm::colorChange_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("myColor");
    QTest::addColumn<QColor>("receivedColor");

    const QColor black(0, 0, 0);
    QTest::newRow("background") << "BGColorBox" << "clYellow" << QColor(255, 255, 0) << black << black;
    QTest::newRow("background, system") << "BGColorBox" << "clInfoBk"
                                        << QApplication::palette().color(QPalette::ToolTipBase) << black
                                        << black;
    QTest::newRow("my text") << "MyTextColorBox" << "clMaroon" << windowColor() << QColor(128, 0, 0) << black;
    QTest::newRow("received text") << "RecvTextColorBox" << "clSkyBlue" << windowColor() << black
                                   << QColor(166, 202, 240);
}

void TestOptionsForm::colorChange()
{
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QFETCH(QColor, background);
    QFETCH(QColor, myColor);
    QFETCH(QColor, receivedColor);
    Setup setup;
    setup.editPreviewLine0(QStringLiteral("x"));

    choose(setup.colors(box.toLatin1().constData()), entry);
    QCOMPARE(setup.previewBackground(), background);
    QCOMPARE(setup.line(0), MyLine);
    QCOMPARE(setup.line(1), ReceivedLine);
    QCOMPARE(setup.lineColor(0), myColor);
    QCOMPARE(setup.lineColor(1), receivedColor);
    // The transcript changes only on OK.
    QCOMPARE(setup.transcriptBackground(), windowColor());
}

void TestOptionsForm::refreshRestoresEditedLines()
{
    Setup setup;
    QTextEdit *preview = setup.preview();
    preview->setPlainText(QStringLiteral("hello"));
    choose(setup.colors("MyTextColorBox"), QStringLiteral("clRed"));
    QCOMPARE(preview->toPlainText(), MyLine + QLatin1Char('\n') + ReceivedLine);
    QCOMPARE(setup.lineColor(0), QColor(255, 0, 0));
    QCOMPARE(setup.lineColor(1), QColor(0, 0, 0));

    // Lines the operator adds below the two are left alone; pasted markup stays text.
    QTextCursor cursor(preview->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n<b>extra</b>"));
    choose(setup.colors("RecvTextColorBox"), QStringLiteral("clGreen"));
    QCOMPARE(preview->toPlainText(), MyLine + QLatin1Char('\n') + ReceivedLine + QStringLiteral("\n<b>extra</b>"));
    QCOMPARE(setup.lineColor(1), QColor(0, 128, 0));
}

void TestOptionsForm::sizeErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("not a number") << "abc" << "'abc' is not a valid integer value.";
    QTest::newRow("fraction") << "10.5" << "'10.5' is not a valid integer value.";
    QTest::newRow("empty") << "" << "'' is not a valid integer value.";
    QTest::newRow("zero") << "0" << "'0' is not a valid font size, use 1 to 1638.";
    QTest::newRow("negative") << "-5" << "'-5' is not a valid font size, use 1 to 1638.";
    QTest::newRow("too large") << "1639" << "'1639' is not a valid font size, use 1 to 1638.";
    QTest::newRow("huge") << "100000" << "'100000' is not a valid font size, use 1 to 1638.";
}

void TestOptionsForm::sizeErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    ErrorCapture errors;
    Setup setup;
    setup.form->show();
    choose(setup.box("FontSize"), QStringLiteral("12"));
    choose(setup.box("FontStyle"), QStringLiteral("Bold"));
    choose(setup.box("FontName"), someFace(setup.box("FontName")));
    choose(setup.colors("MyTextColorBox"), QStringLiteral("clNavy"));
    choose(setup.colors("BGColorBox"), QStringLiteral("clCream"));
    setup.editPreviewLine0(QStringLiteral("x"));

    // The reaction: an error, and the preview keeps its size and is not refreshed.
    enterText(setup.box("FontSize"), text);
    QCOMPARE(errors.messages, QStringList{message});
    QCOMPARE(setup.preview()->font().pointSize(), 12);
    QCOMPARE(setup.line(0), QStringLiteral("x") + MyLine);

    // OK: the same error; background, colours and face are applied, size and style are not,
    // and the dialog closes all the same.
    setup.button("OKBtn")->click();
    QCOMPARE(errors.messages, (QStringList{message, message}));
    QCOMPARE(setup.transcriptBackground(), QColor(255, 251, 240));
    QCOMPARE(setup.settings().MyTextColor, QColor(0, 0, 128));
    QCOMPARE(setup.settings().RecvTextColor, QColor(0, 0, 0));
    QCOMPARE(setup.settings().ChatFontName, someFace(setup.box("FontName")));
    QCOMPARE(setup.settings().ChatFontSize, 10);
    QCOMPARE(setup.settings().ChatFontStyle, FontStyles());
    QVERIFY(!setup.form->isVisible());
    QCOMPARE(setup.form->result(), int(QDialog::Accepted));
}

void TestOptionsForm::okApplies()
{
    ErrorCapture errors;
    Setup setup;
    setup.form->show();
    const QString face = someFace(setup.box("FontName"));
    choose(setup.box("FontName"), face);
    choose(setup.box("FontSize"), QStringLiteral("16"));
    choose(setup.box("FontStyle"), QStringLiteral("Bold Italic"));
    choose(setup.colors("MyTextColorBox"), QStringLiteral("clRed"));
    choose(setup.colors("RecvTextColorBox"), QStringLiteral("clBlue"));
    choose(setup.colors("BGColorBox"), QStringLiteral("clMoneyGreen"));

    setup.button("OKBtn")->click();
    QVERIFY(!setup.form->isVisible());
    QCOMPARE(setup.form->result(), int(QDialog::Accepted));
    QCOMPARE(setup.transcriptBackground(), QColor(192, 220, 192));
    const TDisplaySettings &settings = setup.settings();
    QCOMPARE(settings.MyTextColor, QColor(255, 0, 0));
    QCOMPARE(settings.RecvTextColor, QColor(0, 0, 255));
    QCOMPARE(settings.ChatFontName, face);
    QCOMPARE(settings.ChatFontSize, 16);
    QCOMPARE(settings.ChatFontStyle, FontStyleFlag::Bold | FontStyleFlag::Italic);
    // The defaults are never written.
    QCOMPARE(settings.DefaultFontSize, 10);
    QCOMPARE(settings.DefaultMyTextColor, QColor(0, 0, 0));
    QCOMPARE(errors.messages, QStringList());
}

void TestOptionsForm::okWithoutChanges()
{
    Setup setup;
    setup.window->setTranscriptBackground(QColor(1, 2, 3));
    setup.button("OKBtn")->click();
    // The preview's background, which is the system window colour until one is chosen.
    QCOMPARE(setup.transcriptBackground(), windowColor());
    const TDisplaySettings &settings = setup.settings();
    QCOMPARE(settings.MyTextColor, QColor(0, 0, 0));
    QCOMPARE(settings.RecvTextColor, QColor(0, 0, 0));
    QCOMPARE(settings.ChatFontName, QStringLiteral("MS Sans Serif"));
    QCOMPARE(settings.ChatFontSize, 10);
    QCOMPARE(settings.ChatFontStyle, FontStyles());
}

void TestOptionsForm::closingWithoutOk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void TestOptionsForm::closingWithoutOk()
{
    QFETCH(QString, how);
    Setup setup;
    const TDisplaySettings before = setup.settings();
    setup.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(setup.form.get()));
    choose(setup.box("FontSize"), QStringLiteral("20"));
    choose(setup.box("FontStyle"), QStringLiteral("Italic"));
    enterText(setup.box("FontName"), QStringLiteral("Typed Face"));
    choose(setup.colors("RecvTextColorBox"), QStringLiteral("clPurple"));
    choose(setup.colors("BGColorBox"), QStringLiteral("clBlack"));

    if (how == QLatin1String("cancel"))
        setup.button("CancelBtn")->click();
    else if (how == QLatin1String("escape"))
        QTest::keyClick(setup.box("FontStyle"), Qt::Key_Escape);
    else
        setup.form->close();

    QVERIFY(!setup.form->isVisible());
    QCOMPARE(setup.form->result(), int(QDialog::Rejected));
    QCOMPARE(setup.transcriptBackground(), windowColor());
    const TDisplaySettings &after = setup.settings();
    QCOMPARE(after.ChatFontSize, before.ChatFontSize);
    QCOMPARE(after.ChatFontName, before.ChatFontName);
    QCOMPARE(after.ChatFontStyle, before.ChatFontStyle);
    QCOMPARE(after.RecvTextColor, before.RecvTextColor);

    // The next opening shows what the operator left, not what was applied.
    setup.form->show();
    QCOMPARE(setup.box("FontSize")->currentText(), QStringLiteral("20"));
    QCOMPARE(setup.box("FontStyle")->currentText(), QStringLiteral("Italic"));
    QCOMPARE(setup.box("FontName")->currentText(), QStringLiteral("Typed Face"));
    QCOMPARE(setup.colors("RecvTextColorBox")->currentText(), QStringLiteral("clPurple"));
    QCOMPARE(setup.previewBackground(), QColor(0, 0, 0));
    QCOMPARE(setup.preview()->font().pointSize(), 20);
}

void TestOptionsForm::reopenShowsWhatWasLeft()
{
    Setup setup;
    setup.form->show();
    choose(setup.colors("MyTextColorBox"), QStringLiteral("clTeal"));
    choose(setup.box("FontSize"), QStringLiteral("11"));
    setup.button("OKBtn")->click();

    setup.form->show();
    QCOMPARE(setup.colors("MyTextColorBox")->currentText(), QStringLiteral("clTeal"));
    QCOMPARE(setup.box("FontSize")->currentText(), QStringLiteral("11"));
    QCOMPARE(setup.lineColor(0), QColor(0, 128, 128));

    // A second OK applies the same again; nothing drifts between openings.
    setup.button("OKBtn")->click();
    QCOMPARE(setup.settings().MyTextColor, QColor(0, 128, 128));
    QCOMPARE(setup.settings().ChatFontSize, 11);
}

void TestOptionsForm::reset()
{
    ErrorCapture errors;
    Setup setup;
    choose(setup.box("FontStyle"), QStringLiteral("Bold"));
    enterText(setup.box("FontSize"), QStringLiteral("13"));
    enterText(setup.box("FontName"), someFace(setup.box("FontName")));
    choose(setup.colors("MyTextColorBox"), QStringLiteral("clLime"));
    choose(setup.colors("RecvTextColorBox"), QStringLiteral("clAqua"));
    choose(setup.colors("BGColorBox"), QStringLiteral("clGray"));
    setup.editPreviewLine0(QStringLiteral("x"));

    setup.button("ResetDefaultBtn")->click();
    QVERIFY(errors.messages.isEmpty());
    QCOMPARE(setup.box("FontName")->currentText(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(setup.box("FontSize")->currentText(), QStringLiteral("10"));
    QCOMPARE(setup.box("FontStyle")->currentText(), QStringLiteral("Regular"));
    QCOMPARE(setup.colors("MyTextColorBox")->currentText(), QStringLiteral("clBlack"));
    QCOMPARE(setup.colors("RecvTextColorBox")->currentText(), QStringLiteral("clBlack"));
    QCOMPARE(setup.colors("BGColorBox")->currentText(), QStringLiteral("clWhite"));
    QCOMPARE(setup.previewBackground(), QColor(255, 255, 255));

    QCOMPARE(setup.line(0), MyLine);
    QCOMPARE(setup.line(1), ReceivedLine);
    for (int line = 0; line < 2; ++line) {
        const QTextCharFormat format = setup.lineFormat(line);
        QCOMPARE(format.foreground().color(), QColor(0, 0, 0));
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{"MS Sans Serif"});
        QCOMPARE(format.fontPointSize(), 10.0);
        QVERIFY(format.fontWeight() < QFont::Bold);
        QVERIFY(!format.fontItalic());
    }
    // The preview's own font is back to the defaults too, since OK reads the style from it.
    QCOMPARE(setup.preview()->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(setup.preview()->font().pointSize(), 10);
    QVERIFY(!setup.preview()->font().bold());

    // OK after Reset applies the defaults, the style included.
    setup.button("OKBtn")->click();
    QCOMPARE(setup.transcriptBackground(), QColor(255, 255, 255));
    QCOMPARE(setup.settings().ChatFontName, QStringLiteral("MS Sans Serif"));
    QCOMPARE(setup.settings().ChatFontSize, 10);
    QCOMPARE(setup.settings().ChatFontStyle, FontStyles());
    QCOMPARE(setup.settings().MyTextColor, QColor(0, 0, 0));
    QVERIFY(errors.messages.isEmpty());
}

void TestOptionsForm::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("open");

    QTest::newRow("Enter in the face box") << "FontName" << int(Qt::Key_Return) << int(QDialog::Accepted) << false;
    QTest::newRow("Enter in the size box") << "FontSize" << int(Qt::Key_Return) << int(QDialog::Accepted) << false;
    QTest::newRow("keypad Enter on the style list") << "FontStyle" << int(Qt::Key_Enter) << int(QDialog::Accepted)
                                                    << false;
    QTest::newRow("Enter on a colour list") << "BGColorBox" << int(Qt::Key_Return) << int(QDialog::Accepted)
                                            << false;
    QTest::newRow("Escape in the face box") << "FontName" << int(Qt::Key_Escape) << int(QDialog::Rejected)
                                            << false;
    QTest::newRow("Escape in the preview") << "PreviewText" << int(Qt::Key_Escape) << int(QDialog::Rejected)
                                           << false;
    // These controls use Enter themselves.
    QTest::newRow("Enter in the preview") << "PreviewText" << int(Qt::Key_Return) << -1 << true;
    QTest::newRow("Enter on Reset") << "ResetDefaultBtn" << int(Qt::Key_Return) << -1 << true;
}

void TestOptionsForm::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(bool, open);
    ErrorCapture errors;
    Setup setup;
    setup.form->setResult(-1);
    setup.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(setup.form.get()));
    QWidget *target = setup.form->findChild<QWidget *>(focus);
    target->setFocus();
    if (auto *box = qobject_cast<QComboBox *>(target); box && box->isEditable())
        target = box->lineEdit();
    const int linesBefore = setup.preview()->document()->blockCount();

    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(setup.form->isVisible(), open);
    QCOMPARE(setup.form->result(), result);
    if (focus == QLatin1String("PreviewText") && open)
        QCOMPARE(setup.preview()->document()->blockCount(), linesBefore + 1);
    QCOMPARE(errors.messages, QStringList());
}

void TestOptionsForm::optionsMenuOpensModally()
{
    Setup setup;
    setup.window->setOptionsDialog(setup.form.get());
    setup.window->show();
    choose(setup.box("FontSize"), QStringLiteral("24"));

    bool wasModal = false;
    QTimer::singleShot(0, setup.form.get(), [&] {
        wasModal = QApplication::activeModalWidget() == setup.form.get();
        setup.button("OKBtn")->click();
    });
    setup.window->findChild<QAction *>(QStringLiteral("Options1"))->trigger();
    QVERIFY(wasModal);
    QCOMPARE(setup.settings().ChatFontSize, 24);
}


void TestOptionsForm::servesAnyTarget_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("applied");

    QTest::newRow("OK") << "OKBtn" << true;
    QTest::newRow("Cancel") << "CancelBtn" << false;
}

// The dialog reads its defaults from, and writes the operator's choices to, whatever window
// provides the display settings; the main window is only one of them.
void TestOptionsForm::servesAnyTarget()
{
    QFETCH(QString, button);
    QFETCH(bool, applied);
    ErrorCapture errors;
    RecordingTarget target;
    target.settings.setDefaults();
    target.settings.ChatFontSize = 14;
    QWidget owner;
    TOptionsForm form(target, &owner);
    form.show();
    QCOMPARE(form.findChild<QComboBox *>(QStringLiteral("FontSize"))->currentText(), QStringLiteral("10"));

    choose(form.findChild<QComboBox *>(QStringLiteral("FontSize")), QStringLiteral("16"));
    choose(form.findChild<ColorListBox *>(QStringLiteral("RecvTextColorBox")), QStringLiteral("clBlue"));
    choose(form.findChild<ColorListBox *>(QStringLiteral("BGColorBox")), QStringLiteral("clCream"));
    form.findChild<QPushButton *>(button)->click();

    QCOMPARE(errors.messages, QStringList());
    QVERIFY(!form.isVisible());
    QCOMPARE(target.settings.ChatFontSize, applied ? 16 : 14);
    QCOMPARE(target.settings.RecvTextColor, applied ? QColor(0, 0, 255) : QColor(0, 0, 0));
    QCOMPARE(target.background, applied ? QColor(255, 251, 240) : QColor());
}

QTEST_MAIN(TestOptionsForm)
#include "tst_optionsform.moc"
