#include "about/TForm2.h"

#include "about/AboutPageView.h"
#include "base/ProgramConstants.h"
#include "base/widgets/ProgramLook.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr QSize ClientSize{321, 368};
constexpr int LineHeight = 20;
constexpr int LineCount = 4;
constexpr int WebBrowserHeight = 249;
constexpr QRect OkButtonGeometry{120, 336, 81, 25};

} // namespace

TForm2::TForm2(QWidget *parent, const QString &viewPluginPath)
    : QDialog(parent)
    , m_viewPluginPath(viewPluginPath)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("   About"));
    // A tool-window frame: a small caption with only a close box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientSize);
    setFont(ProgramLook::windowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ProgramLook::systemColor("clBtnFace"));
    setPalette(palette);

    createLines();
    createOkButton();
}

QUrl TForm2::pageAddress() const
{
    return m_page ? m_page->address() : QUrl();
}

void TForm2::createLines()
{
    const QString lines[LineCount] = {QString(), QString::fromLatin1(ProgramConstants::ApplicationTitle),
                                      QString::fromLatin1(ProgramConstants::VersionText), QString()};
    for (int i = 0; i < LineCount; ++i) {
        auto *label = new QLabel(lines[i], this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(ProgramLook::controlFont());
        label->setGeometry(0, i * LineHeight, ClientSize.width(), LineHeight);
    }
}

void TForm2::createOkButton()
{
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(OkButtonGeometry);
    // Enter presses it wherever the focus is in the window.
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::createWebBrowser()
{
    WebBrowser1 = createAboutPageView(this, m_viewPluginPath);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(0, LineCount * LineHeight, ClientSize.width(), WebBrowserHeight);
    m_page = qobject_cast<AboutPageView *>(WebBrowser1);
    m_page->setLoadFinishedHandler([this](bool ok) { Q_EMIT pageLoadFinished(ok); });
    WebBrowser1->show();
}

void TForm2::centreOnScreen()
{
    const QScreen *current = screen();
    if (!current)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(current->availableGeometry().center());
    move(frame.topLeft());
}

void TForm2::setVisible(bool visible)
{
    // Before the native window exists: the web view adds its OpenGL drawing widget when it first
    // navigates, and added to a window already made, that has Qt make the window again for an
    // OpenGL surface. The new one was not registered as modal: the main window took keys and
    // clicks behind it, and it was not given the keyboard.
    if (visible && !isVisible())
        FormShow();
    QDialog::setVisible(visible);
}

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring from the taskbar is no new showing.
    if (!event->spontaneous())
        centreOnScreen();
}

void TForm2::FormShow()
{
    if (!WebBrowser1)
        createWebBrowser();
    m_page->navigate(QUrl(QString::fromLatin1(ProgramConstants::AboutPageAddress)));
    Button1->setFocus();
}

void TForm2::Button1Click()
{
    accept();
}
