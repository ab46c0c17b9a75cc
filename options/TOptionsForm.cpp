#include "options/TOptionsForm.h"

#include "base/FontSubstitutes.h"
#include "base/widgets/GeneralErrorHandler.h"
#include "base/widgets/ProgramLook.h"
#include "main_window/logic/DisplaySettingsTarget.h"
#include "options/ColorListBox.h"
#include "options/logic/FontChoices.h"
#include "options/logic/FontSizeText.h"
#include "options/logic/PreviewLines.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr QSize ClientSize{322, 360};
constexpr int ButtonBarHeight = 41;
constexpr int ListHeight = 21;
constexpr int ColorListHeight = 22;
constexpr int PreviewHeight = 65;

QLabel *addLabel(QWidget &page, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, &page);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A control takes its label's text as its name, and the label says what it labels: a drop-down
// list's own name on Linux is its current entry.
void nameByLabel(QLabel &label, QWidget &control, const QString &description)
{
    control.setAccessibleName(label.text());
    control.setAccessibleDescription(description);
    label.setBuddy(&control);
}

void describe(QWidget &control, const QString &name, const QString &description)
{
    control.setAccessibleName(name);
    control.setAccessibleDescription(description);
}

template<typename Control>
Control *placeControl(QWidget &page, const char *name, const QRect &geometry)
{
    auto *control = new Control(&page);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QPushButton *addButton(QWidget &bar, const char *name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, &bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

const TDisplaySettings &usableDefaults(const TDisplaySettings &settings)
{
    // A start-up that stopped before setting the defaults leaves them zero; fall back to the
    // program's own rather than offering black on black at size 0.
    static const TDisplaySettings standard = [] {
        TDisplaySettings defaults;
        defaults.setDefaults();
        return defaults;
    }();
    return settings.DefaultFontSize >= MinFontSize ? settings : standard;
}

} // namespace

TOptionsForm::TOptionsForm(DisplaySettingsTarget &target, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
    , m_defaults(usableDefaults(target.displaySettings()))
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("   Options"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(ProgramLook::windowFont());
    setFixedSize(ClientSize);

    createFontPage();
    createButtonBar();
    const QList<QWidget *> tabOrder{FontName, FontSize, FontStyle, MyTextColorBox, RecvTextColorBox,
                                    BGColorBox, PreviewText, ResetDefaultBtn, OKBtn, CancelBtn};
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    FormCreate();
    connectReactions();
}

void TOptionsForm::createFontPage()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 305, 305);
    describe(*PageControl1, QStringLiteral("Options pages"), QStringLiteral("The pages of the Options dialog"));

    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    // In the dialog before its controls are made, so they take the dialog's font and palette
    // as they are made rather than all again when the page moves in.
    PageControl1->addTab(page, QStringLiteral("Font"));
    createFontControls(*page);
    createColorControls(*page);
    createPreview(*page);
}

void TOptionsForm::createFontControls(QWidget &page)
{
    QLabel *fontLabel = addLabel(page, QStringLiteral("Font"), 8, 32);
    QLabel *sizeLabel = addLabel(page, QStringLiteral("Size"), 160, 32);
    QLabel *styleLabel = addLabel(page, QStringLiteral("Style"), 216, 32);

    FontName = placeControl<QComboBox>(page, "FontName", {8, 56, 145, ListHeight});
    FontName->setEditable(true);
    FontName->setInsertPolicy(QComboBox::NoInsert);
    nameByLabel(*fontLabel, *FontName, QStringLiteral("The font face of own lines"));

    FontSize = placeControl<QComboBox>(page, "FontSize", {160, 56, 49, ListHeight});
    FontSize->setEditable(true);
    FontSize->setInsertPolicy(QComboBox::NoInsert);
    // Completing "1" to "10" would put a size in the box the operator never typed.
    FontSize->setCompleter(nullptr);
    FontSize->addItems(fontSizeEntries());
    nameByLabel(*sizeLabel, *FontSize, QStringLiteral("The font size of own lines, in points"));

    FontStyle = placeControl<QComboBox>(page, "FontStyle", {216, 56, 73, ListHeight});
    FontStyle->addItems(fontStyleEntries());
    nameByLabel(*styleLabel, *FontStyle, QStringLiteral("The font style of own lines"));
}

void TOptionsForm::createColorControls(QWidget &page)
{
    QLabel *ownLabel = addLabel(page, QStringLiteral("My Text Color"), 8, 96);
    MyTextColorBox = placeControl<ColorListBox>(page, "MyTextColorBox", {159, 97, 130, ColorListHeight});
    nameByLabel(*ownLabel, *MyTextColorBox, QStringLiteral("The colour of own lines"));
    QLabel *receivedLabel = addLabel(page, QStringLiteral("Received Text Color"), 8, 124);
    RecvTextColorBox = placeControl<ColorListBox>(page, "RecvTextColorBox", {159, 127, 130, ColorListHeight});
    nameByLabel(*receivedLabel, *RecvTextColorBox, QStringLiteral("The colour of received lines"));
    QLabel *backgroundLabel = addLabel(page, QStringLiteral("Background Color"), 8, 157);
    BGColorBox = placeControl<ColorListBox>(page, "BGColorBox", {159, 157, 130, ColorListHeight});
    nameByLabel(*backgroundLabel, *BGColorBox, QStringLiteral("The transcript's background colour"));
}

void TOptionsForm::createPreview(QWidget &page)
{
    QLabel *previewLabel = addLabel(page, QStringLiteral("Preview"), 8, 189);

    PreviewText = new QTextEdit;
    PreviewText->setObjectName(QStringLiteral("PreviewText"));
    nameByLabel(*previewLabel, *PreviewText, QStringLiteral("How own and received lines will look"));
    // Whatever is pasted in stays plain text; the preview only ever shows our two lines' formats.
    PreviewText->setAcceptRichText(false);
    PreviewText->setUndoRedoEnabled(false);
    PreviewText->setTabChangesFocus(true);
    PreviewText->setFixedHeight(PreviewHeight);
    PreviewText->setFont(ProgramLook::controlFont());
    setPreviewBackground(ProgramLook::systemColor("clWindow"));

    // Docked at the page's bottom; the other controls keep their fixed places.
    auto *dock = new QVBoxLayout(&page);
    dock->setContentsMargins(0, 0, 0, 0);
    dock->addStretch(1);
    dock->addWidget(PreviewText);
}

void TOptionsForm::createButtonBar()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, ClientSize.height() - ButtonBarHeight, ClientSize.width(), ButtonBarHeight);

    ResetDefaultBtn = addButton(*Panel1, "ResetDefaultBtn", QStringLiteral("Reset"), {8, 8, 73, 25});
    OKBtn = addButton(*Panel1, "OKBtn", QStringLiteral("OK"), {152, 8, 75, 25});
    OKBtn->setDefault(true);
    CancelBtn = addButton(*Panel1, "CancelBtn", QStringLiteral("Cancel"), {240, 8, 75, 25});
    describe(*ResetDefaultBtn, QStringLiteral("Reset"), QStringLiteral("Returns the fonts and colours to their defaults"));
    describe(*OKBtn, QStringLiteral("OK"), QStringLiteral("Applies the fonts and colours and closes the dialog"));
    describe(*CancelBtn, QStringLiteral("Cancel"), QStringLiteral("Closes the dialog without applying anything"));

    connect(ResetDefaultBtn, &QPushButton::clicked, this, GeneralErrorHandler::guarded(this, &TOptionsForm::ResetDefaultBtnClick));
    connect(OKBtn, &QPushButton::clicked, this, &TOptionsForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TOptionsForm::connectReactions()
{
    // The editable boxes react to every change of their text, the operator's typing and list
    // choices alike; program-set values are blocked before they get here.
    connect(FontName, &QComboBox::editTextChanged, this, GeneralErrorHandler::guarded(this, &TOptionsForm::FontNameChange));
    connect(FontSize, &QComboBox::editTextChanged, this, GeneralErrorHandler::guarded(this, &TOptionsForm::FontSizeChange));
    connect(FontStyle, &QComboBox::activated, this, GeneralErrorHandler::guarded(this, &TOptionsForm::FontStyleChange));
    connect(BGColorBox, &QComboBox::activated, this, GeneralErrorHandler::guarded(this, &TOptionsForm::BGColorBoxChange));
    connect(MyTextColorBox, &QComboBox::activated, this, GeneralErrorHandler::guarded(this, &TOptionsForm::MyTextColorBoxChange));
    connect(RecvTextColorBox, &QComboBox::activated, this,
            GeneralErrorHandler::guarded(this, &TOptionsForm::RecvTextColorBoxChange));
}

void TOptionsForm::FormCreate()
{
    QStringList faces = QFontDatabase::families();
    faces.removeIf([](const QString &face) { return QFontDatabase::isPrivateFamily(face); });
    FontName->addItems(sortedFaceNames(faces));
    setControlsToDefaults();
    refreshPreview();
}

void TOptionsForm::setControlsToDefaults()
{
    const QSignalBlocker blockName(FontName);
    const QSignalBlocker blockSize(FontSize);
    const QSignalBlocker blockStyle(FontStyle);
    FontName->setEditText(m_defaults.DefaultFontName);
    FontSize->setCurrentIndex(m_defaults.DefaultFontSizeIndex);
    FontStyle->setCurrentIndex(m_defaults.DefaultFontStyleIndex);
    MyTextColorBox->setColor(m_defaults.DefaultMyTextColor);
    RecvTextColorBox->setColor(m_defaults.DefaultRecvTextColor);
    BGColorBox->setColor(m_defaults.DefaultBackgroundColor);
}

void TOptionsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}

void TOptionsForm::FontNameChange()
{
    // Typing counts as selecting the entry it spells; any other text selects none.
    const int entry = FontName->findText(FontName->currentText(), Qt::MatchFixedString);
    QFont font = PreviewText->font();
    font.setFamily(entry < 0 ? QString() : FontName->itemText(entry));
    PreviewText->setFont(font);
    refreshPreview();
}

void TOptionsForm::FontSizeChange()
{
    // The box's text rather than the selected entry, so typed sizes preview too.
    const int size = fontSizeFromText(FontSize->currentText());
    QFont font = PreviewText->font();
    font.setPointSize(size);
    PreviewText->setFont(font);
    refreshPreview();
}

void TOptionsForm::FontStyleChange()
{
    if (const auto style = fontStyleAt(FontStyle->currentIndex()))
        PreviewText->setFont(withFontStyle(PreviewText->font(), *style));
    refreshPreview();
}

void TOptionsForm::BGColorBoxChange()
{
    setPreviewBackground(BGColorBox->color());
    refreshPreview();
}

void TOptionsForm::MyTextColorBoxChange()
{
    refreshPreview();
}

void TOptionsForm::RecvTextColorBoxChange()
{
    refreshPreview();
}

void TOptionsForm::ResetDefaultBtnClick()
{
    setControlsToDefaults();
    setPreviewBackground(m_defaults.DefaultBackgroundColor);
    // The preview's own font too: OK takes the style from it, which must match the boxes.
    PreviewText->setFont(defaultFont());
    QTextCharFormat format;
    format.setFont(defaultFont());
    setPreviewLines(format);
}

void TOptionsForm::OKBtnClick()
{
    // The result comes first, so the dialog closes even when a value cannot be applied.
    setResult(QDialog::Accepted);
    GeneralErrorHandler::guard([this] { applySettings(); });
    done(QDialog::Accepted);
}

void TOptionsForm::applySettings()
{
    m_target.setTranscriptBackground(previewBackground());
    // In the order the choices are read: a size that is not valid stops there, and what
    // was read before it stays applied.
    TDisplaySettings settings = m_target.displaySettings();
    settings.MyTextColor = MyTextColorBox->color();
    settings.RecvTextColor = RecvTextColorBox->color();
    settings.ChatFontName = FontName->currentText();
    m_target.setDisplaySettings(settings);
    settings.ChatFontSize = fontSizeFromText(FontSize->currentText());
    settings.ChatFontStyle = fontStyleOf(PreviewText->font());
    m_target.setDisplaySettings(settings);
}

void TOptionsForm::refreshPreview()
{
    setPreviewLines(QTextCharFormat());
}

void TOptionsForm::setPreviewLines(const QTextCharFormat &format)
{
    QTextCharFormat mine = format;
    mine.setForeground(MyTextColorBox->color());
    replacePreviewLine(*PreviewText->document(), 0, QStringLiteral("My Text Chat"), mine);
    QTextCharFormat received = format;
    received.setForeground(RecvTextColorBox->color());
    replacePreviewLine(*PreviewText->document(), 1, QStringLiteral("Received Text"), received);
}

QColor TOptionsForm::previewBackground() const
{
    return PreviewText->palette().color(QPalette::Base);
}

void TOptionsForm::setPreviewBackground(const QColor &color)
{
    QPalette palette = PreviewText->palette();
    palette.setColor(QPalette::Base, color);
    PreviewText->setPalette(palette);
}

QFont TOptionsForm::defaultFont() const
{
    return withFontStyle(outlineFont(m_defaults.DefaultFontName, m_defaults.DefaultFontSize),
                         m_defaults.DefaultFontStyle);
}
