#include "main_window/TForm1.h"

#include "app/ProgramConstants.h"
#include "app/TarnWaveError.h"
#include "main_window/AccessibleControls.h"
#include "main_window/CallsignAlert.h"
#include "main_window/FindBar.h"
#include "main_window/GeneralErrorHandler.h"
#include "main_window/InputLineHistory.h"
#include "main_window/LinePrefix.h"
#include "main_window/MainWindowLayout.h"
#include "main_window/ReadingPosition.h"
#include "main_window/ReceivedText.h"
#include "main_window/SaveFileDialog.h"
#include "main_window/StationListLabel.h"
#include "main_window/StationTextLines.h"
#include "main_window/StationTextWrap.h"
#include "main_window/StatusColors.h"
#include "main_window/StatusLabelView.h"
#include "main_window/TranscriptFile.h"
#include "main_window/TranscriptLayout.h"
#include "main_window/TranscriptLines.h"
#include "main_window/TranscriptRepaintPacer.h"
#include "main_window/TransmitToggle.h"
#include "presence/PresenceClient.h"
#include "session/AutomationObject.h"
#include "session/SessionTransport.h"
#include "session/TTarnWaveSession.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

TForm1::TForm1(SessionTransport &transport, QWidget *parent, const PresenceEndpoint &presence)
    : QMainWindow(parent)
    , m_transport(transport)
    , TCPClient(new PresenceClient(presence, this))
{
    setObjectName(QStringLiteral("Form1"));
    // Widgets and the event wrapper exist before any event can arrive.
    createActions();
    createMenus();
    createTranscript();
    createStationPanel();
    createInputBar();
    createStatusBar();
    createReadingAids();
    createLayout();
    AccessibleControls::describeMainWindow(*this);
    connectSessionEvents();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setAboutWindow(QDialog *about)
{
    m_aboutWindow = about;
}

void TForm1::setOptionsDialog(QDialog *options)
{
    m_optionsDialog = options;
}

void TForm1::setTranscriptBackground(const QColor &color)
{
    QPalette palette = ChatWindow->palette();
    palette.setColor(QPalette::Base, color);
    ChatWindow->setPalette(palette);
}

bool TForm1::isSessionConnected() const
{
    return TarnWaveSession1->isConnected();
}

void TForm1::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void TForm1::createActions()
{
    Save1 = new QAction(QStringLiteral("Save..."), this);
    Save1->setObjectName(QStringLiteral("Save1"));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(Save1, &QAction::triggered, this, [this] { GeneralErrorHandler::guard([this] { Save1Click(); }); });

    Exit1 = new QAction(QStringLiteral("Exit"), this);
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    Options1 = new QAction(QStringLiteral("Options..."), this);
    Options1->setObjectName(QStringLiteral("Options1"));
    connect(Options1, &QAction::triggered, this, [this] { GeneralErrorHandler::guard([this] { Options1Click(); }); });

    ShowDateTime1 = new QAction(QStringLiteral("Show Date/Time"), this);
    ShowDateTime1->setObjectName(QStringLiteral("ShowDateTime1"));
    ShowDateTime1->setCheckable(true);
    ShowDateTime1->setChecked(true);

    ShowHideStationlist1 = new QAction(QStringLiteral("Show Station Text"), this);
    ShowHideStationlist1->setObjectName(QStringLiteral("ShowHideStationlist1"));
    ShowHideStationlist1->setCheckable(true);
    connect(ShowHideStationlist1, &QAction::triggered, this, &TForm1::ShowHideStationlist1Click);

    AlwaysOnTop1 = new QAction(QStringLiteral("Always On Top"), this);
    AlwaysOnTop1->setObjectName(QStringLiteral("AlwaysOnTop1"));
    AlwaysOnTop1->setCheckable(true);
    connect(AlwaysOnTop1, &QAction::triggered, this, &TForm1::AlwaysOnTop1Click);

    ClearScreen1 = new QAction(QStringLiteral("Clear screen"), this);
    ClearScreen1->setObjectName(QStringLiteral("ClearScreen1"));
    connect(ClearScreen1, &QAction::triggered, this, &TForm1::ClearScreen1Click);

    About1 = new QAction(QStringLiteral("&About"), this);
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, [this] { GeneralErrorHandler::guard([this] { About1Click(); }); });
}

void TForm1::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addAction(Save1);
    file->addSeparator();
    file->addAction(Exit1);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    tools->addAction(Options1);
    tools->addSeparator();
    tools->addAction(ShowDateTime1);
    tools->addAction(ShowHideStationlist1);
    tools->addAction(AlwaysOnTop1);
    tools->addSeparator();
    tools->addAction(ClearScreen1);

    // A top-level item without a submenu.
    menuBar()->addAction(About1);
}

void TForm1::createTranscript()
{
    ChatWindow = new QTextEdit;
    ChatWindow->setObjectName(QStringLiteral("ChatWindow"));
    QTextDocument *document = ChatWindow->document();
    document->setDocumentLayout(new TranscriptLayout(document));
    ChatWindow->setReadOnly(true);
    ChatWindow->setAcceptRichText(false);
    ChatWindow->setUndoRedoEnabled(false);
    ChatWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ChatWindow->setFocusPolicy(Qt::ClickFocus);
    ChatWindow->setFont(MainWindowLayout::controlFont());
    MainWindowLayout::keepSelectionVisible(*ChatWindow);
    QPalette palette = ChatWindow->palette();
    palette.setColor(QPalette::Text, MainWindowLayout::systemColor("clWindowText"));
    palette.setColor(QPalette::Base, MainWindowLayout::systemColor("clWindow"));
    ChatWindow->setPalette(palette);
    ChatWindow->installEventFilter(this);
    connect(ChatWindow, &QTextEdit::selectionChanged, this, &TForm1::ChatWindowSelectionChange);
    connect(ChatWindow, &QTextEdit::cursorPositionChanged, this, &TForm1::ChatWindowSelectionChange);
}

void TForm1::createStationPanel()
{
    Panel3 = new QFrame;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::NoFrame);
    Panel3->setFixedWidth(MainWindowLayout::StationPanelWidth);

    StationWindow = new QPlainTextEdit(Panel3);
    StationWindow->setObjectName(QStringLiteral("StationWindow"));
    StationWindow->setReadOnly(true);
    StationWindow->setUndoRedoEnabled(false);
    StationWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StationWindow->setFocusPolicy(Qt::ClickFocus);
    StationWindow->setFont(MainWindowLayout::controlFont());
    MainWindowLayout::keepSelectionVisible(*StationWindow);
    QPalette palette = StationWindow->palette();
    palette.setColor(QPalette::Base, MainWindowLayout::systemColor("clActiveBorder"));
    StationWindow->setPalette(palette);

    auto *layout = new QVBoxLayout(Panel3);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StationWindow);
}

void TForm1::createInputBar()
{
    Panel1 = new QFrame;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setFixedHeight(MainWindowLayout::InputBarHeight);

    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(MainWindowLayout::controlFont());
    Edit1->setFixedHeight(24);
    Edit1->setMinimumWidth(200);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::returnPressed, this, [this] {
        GeneralErrorHandler::guard([this] { Button1Click(); });
    });

    Button1 = new QPushButton(QStringLiteral("Send"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(84, 23);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] {
        GeneralErrorHandler::guard([this] { Button1Click(); });
    });

    // Edit1 at left 1, Button1 at left 405, keeping its distance to the bar's right edge.
    auto *layout = new QHBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 3, 0);
    layout->setSpacing(2);
    layout->addWidget(Edit1, 1);
    layout->addWidget(Button1);
    setTabOrder(Edit1, Button1);
}

void TForm1::createStatusBar()
{
    Panel2 = new QFrame;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setFixedHeight(MainWindowLayout::StatusBarHeight);

    StaticText2 = MainWindowLayout::createStatusLabel(QStringLiteral("StaticText2"), Panel2);
    StaticText2->setText(QStringLiteral("Disconnect"));
    StaticText2->setFixedSize(86, 18);
    MainWindowLayout::setLabelColors(*StaticText2, StatusColors::Grey,
                                     MainWindowLayout::systemColor("clWindow"));

    StaticText3 = new StationListLabel(Panel2);
    MainWindowLayout::setUpStatusLabel(*StaticText3, QStringLiteral("StaticText3"));
    StaticText3->setFixedHeight(18);
    MainWindowLayout::setLabelColors(*StaticText3, StatusColors::Yellow, StatusColors::Red);
    StaticText3->hide();

    StaticText1 = MainWindowLayout::createStatusLabel(QStringLiteral("StaticText1"), Panel2);
    StaticText1->setText(QStringLiteral("RX"));
    StaticText1->setFixedSize(35, 20);
    MainWindowLayout::setLabelColors(*StaticText1, StatusColors::Green,
                                     MainWindowLayout::systemColor("clWindow"));
    StaticText1->hide();

    auto *layout = new QHBoxLayout(Panel2);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(StaticText2);
    layout->addWidget(StaticText3);
    layout->addStretch(1);
    layout->addWidget(StaticText1);
}

void TForm1::createLayout()
{
    setWindowTitle(QString::fromLatin1(ProgramConstants::ApplicationTitle));
    setFont(MainWindowLayout::windowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, MainWindowLayout::systemColor("clBtnFace"));
    setPalette(palette);

    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("ClientArea"));
    auto *upper = new QHBoxLayout;
    upper->setContentsMargins(0, 0, 0, 0);
    upper->setSpacing(0);
    upper->addWidget(ChatWindow, 1);
    upper->addWidget(Panel3);

    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(upper, 1);
    column->addWidget(m_findBar);
    column->addWidget(Panel1);
    column->addWidget(Panel2);
    setCentralWidget(central);

    setMinimumSize(MainWindowLayout::MinimumClientSize);
    resize(MainWindowLayout::ClientSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Edit1->setFocus();
}

void TForm1::createReadingAids()
{
    m_readingPosition = new ReadingPosition(*ChatWindow);
    m_readingPosition->setFocusAfterBar(Edit1);
    m_repaintPacer = new TranscriptRepaintPacer(*ChatWindow->viewport());
    m_findBar = new FindBar(*ChatWindow, *Edit1);
    m_findBar->addShortcutsTo(*this);
    m_inputHistory = new InputLineHistory(*Edit1);
    m_callsignAlert = new CallsignAlert(*this);
}

void TForm1::connectSessionEvents()
{
    TarnWaveSession1 = new TTarnWaveSession(m_transport, this);
    TarnWaveSession1->setObjectName(QStringLiteral("TarnWaveSession1"));
    // Received lines of a burst go into the transcript together at its end, but before any
    // other event of the burst takes effect, so everything still happens in order.
    connect(&m_transport, &SessionTransport::burstStarted, this, [this] { m_gatheringReceived = true; });
    connect(&m_transport, &SessionTransport::burstFinished, this, [this] {
        m_gatheringReceived = false;
        const bool linesWaiting = !m_receivedLines.isEmpty();
        appendGatheredLines();
        if (linesWaiting)
            m_repaintPacer->linesAppended();
    });
    const auto guarded = [this](auto handler) {
        return [this, handler](auto &&...args) {
            GeneralErrorHandler::guard([&] {
                appendGatheredLines();
                (this->*handler)(args...);
            });
        };
    };
    connect(TarnWaveSession1, &TTarnWaveSession::OnClosing, this, guarded(&TForm1::TarnWaveSession1Closing));
    connect(TarnWaveSession1, &TTarnWaveSession::OnRX, this, guarded(&TForm1::TarnWaveSession1RX));
    connect(TarnWaveSession1, &TTarnWaveSession::OnTX, this, guarded(&TForm1::TarnWaveSession1TX));
    connect(TarnWaveSession1, &TTarnWaveSession::OnTX, this, [this](bool bTX) { m_transmitOwnership.txReported(bTX); });
    connect(TarnWaveSession1, &TTarnWaveSession::OnConnected, this, guarded(&TForm1::TarnWaveSession1Connected));
    connect(TarnWaveSession1, &TTarnWaveSession::OnDisconnected, this,
            guarded(&TForm1::TarnWaveSession1Disconnected));
    connect(TarnWaveSession1, &TTarnWaveSession::OnChatTextReceived, this, [this](const QString &sText) {
        GeneralErrorHandler::guard([&] { TarnWaveSession1ChatTextReceived(sText); });
    });
    connect(TarnWaveSession1, &TTarnWaveSession::OnStationTextReceived, this,
            guarded(&TForm1::TarnWaveSession1StationTextReceived));
}

void TForm1::FormCreate()
{
    // An error ends the sequence at its step; the window still opens.
    GeneralErrorHandler::guard([this] {
        SessionObject = std::make_unique<AutomationObject>(
            m_transport, QString::fromLatin1(TarnWave_TLB::SessionProgId));
        TarnWaveSession1->Connect();
        ConfigObject = std::make_unique<AutomationObject>(
            m_transport, QString::fromLatin1(TarnWave_TLB::SetupConfigProgId));
        MyCallsign = ConfigObject->property(QStringLiteral("Callsign")).toString();
        setWindowTitle(QString::fromLatin1(ProgramConstants::ApplicationTitle) + QStringLiteral(" - ")
                       + MyCallsign);

        QTextCursor cursor(ChatWindow->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("TarnWave Chat Version %1 by %2")
                              .arg(QLatin1String(ProgramConstants::ProgramVersion),
                                   QLatin1String(ProgramConstants::AuthorCredit)));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Checked for update at ")
                          + QLatin1String(ProgramConstants::MakerWebAddress));
        cursor.insertBlock();

        StationPanelVisible = false;
        ShowHideStationlist1->setChecked(false);
        Panel3->hide();

        StationLines.clear();

        DisplaySettings.setDefaults();

        showConnectionState(session().property(QStringLiteral("NumPeers")).toInt() >= 1);

        sendStartReport();
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    // Its own guard: a failed unkey is shown, and the close goes on.
    GeneralErrorHandler::guard([this] { unkeyBeforeClose(); });
    GeneralErrorHandler::guard([this] {
        TarnWaveSession1->Disconnect();
        sendStopReport();
    });
}

void TForm1::unkeyBeforeClose()
{
    if (m_transmitOwnership.keyedByThisProgram())
        m_transmitOwnership.unkeyIfKeyed(session());
}

const AutomationObject &TForm1::session() const
{
    if (!SessionObject)
        throw TarnWaveError(QStringLiteral("Not connected to the session server"));
    return *SessionObject;
}

void TForm1::showConnectionState(bool connected)
{
    m_linkStatus.setConnected(connected);
    showStatusLabel(*StaticText2, m_linkStatus.connection());
}

void TForm1::showConnectedStations()
{
    showStatusLabel(*StaticText2, m_linkStatus.connection());
    showStatusLabel(*StaticText3, m_linkStatus.stationList());
}

void TForm1::showIndicator()
{
    showStatusLabel(*StaticText1, m_linkStatus.indicator());
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    FormKeyPress(*event);
    QMainWindow::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Key presses are seen before the control handles them, and never consumed.
    if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (watched == Edit1)
            Edit1KeyPress(key);
        else if (watched == ChatWindow)
            ChatWindowKeyPress(key);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Button1Click()
{
    QTextCursor caret = ChatWindow->textCursor();
    appendOwnLine(caret, InsertPos, DisplaySettings, ownLinePrefix(MyCallsign, lineDateTime()),
                  Edit1->text());
    m_readingPosition->showAppended(caret, true);
    // A failed send leaves the line in the input line, to send again.
    session().call(QStringLiteral("SendChatText"), {Edit1->text()});
    m_inputHistory->lineSent(Edit1->text());
    Edit1->clear();
}

void TForm1::Edit1KeyPress(const QKeyEvent &event)
{
    // Enter arrives as returnPressed; the space is typed into the emptied line afterwards.
    if (isSpaceToggle(event) && inputLineTogglesOnSpace(Edit1->text())) {
        GeneralErrorHandler::guard([this] {
            toggleTransmit(session(), m_transmitOwnership);
            Edit1->clear();
        });
    }
}

void TForm1::ChatWindowKeyPress(const QKeyEvent &event)
{
    if (isSpaceToggle(event))
        GeneralErrorHandler::guard([this] { toggleTransmit(session(), m_transmitOwnership); });
}

void TForm1::FormKeyPress(const QKeyEvent &event)
{
    // Keys a control leaves unhandled (Enter in the input line, letters in the transcript)
    // reach the window too; only a window without a focused control toggles.
    const QWidget *focused = focusWidget();
    if (focused && focused != this)
        return;
    if (isCharacterToggle(event))
        GeneralErrorHandler::guard([this] { toggleTransmit(session(), m_transmitOwnership); });
}

void TForm1::ChatWindowSelectionChange()
{
    InsertPos = transcriptLength(*ChatWindow->document());
}

QString TForm1::lineDateTime() const
{
    return ShowDateTime1->isChecked() ? dateTimeText(m_clock()) : QString();
}

void TForm1::TarnWaveSession1Closing()
{
    // Queued, so the bus connection is not dropped from inside its own signal delivery.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TForm1::TarnWaveSession1RX(bool bRX)
{
    m_linkStatus.setReceiving(bRX);
    showIndicator();
}

void TForm1::TarnWaveSession1TX(bool bTX)
{
    m_linkStatus.setTransmitting(bTX);
    showIndicator();
}

void TForm1::TarnWaveSession1Connected(const QString &sCall, const QString &sName, const QString &sAddr)
{
    // Only the call sign is shown.
    Q_UNUSED(sName);
    Q_UNUSED(sAddr);
    m_linkStatus.stationConnected(sCall);
    showConnectedStations();
}

void TForm1::TarnWaveSession1Disconnected(const QString &sCall)
{
    m_linkStatus.stationDisconnected(sCall);
    showConnectedStations();
}

void TForm1::TarnWaveSession1ChatTextReceived(const QString &sText)
{
    m_receivedLines << receivedLinePrefix(lineDateTime()) + transcriptSafeText(sText);
    if (!m_gatheringReceived)
        appendGatheredLines();
    m_callsignAlert->received(sText, MyCallsign);
}

void TForm1::appendGatheredLines()
{
    if (m_receivedLines.isEmpty())
        return;
    QTextCursor caret = ChatWindow->textCursor();
    appendReceivedLines(caret, InsertPos, DisplaySettings.RecvTextColor, m_receivedLines);
    // A raised view counts the new lines, so it hears of each one; one call does otherwise.
    const qsizetype notices = m_readingPosition->isFollowing() ? 1 : m_receivedLines.size();
    for (qsizetype i = 0; i < notices; ++i)
        m_readingPosition->showAppended(caret, false);
    m_receivedLines.clear();
}

void TForm1::TarnWaveSession1StationTextReceived(const QString &sText)
{
    StationLines = splitStationText(sText);
    StationWindow->setWordWrapMode(stationTextWrapMode(StationLines));
    // Plain text, one block per line; the caret at the start shows the beginning.
    StationWindow->setPlainText(StationLines.join(u'\n'));
    StationWindow->moveCursor(QTextCursor::Start);
}

void TForm1::Save1Click()
{
    const QString fileName = SaveFileDialog::getSaveFileName(this);
    if (!fileName.isEmpty())
        saveTranscript(*ChatWindow->document(), fileName);
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::Options1Click()
{
    if (m_optionsDialog)
        m_optionsDialog->exec();
}

void TForm1::ShowHideStationlist1Click()
{
    StationPanelVisible = !StationPanelVisible;
    ShowHideStationlist1->setChecked(StationPanelVisible);
    Panel3->setVisible(StationPanelVisible);
}

void TForm1::AlwaysOnTop1Click()
{
    const bool wasVisible = isVisible();
    // Changing the flag re-creates the native window, which hides it.
    setWindowFlag(Qt::WindowStaysOnTopHint, AlwaysOnTop1->isChecked());
    if (wasVisible)
        show();
}

void TForm1::ClearScreen1Click()
{
    ChatWindow->clear();
    ChatWindowSelectionChange();
}

void TForm1::About1Click()
{
    if (m_aboutWindow)
        m_aboutWindow->exec();
}

void TForm1::sendStartReport()
{
    // Asynchronous: the window opens at once, whatever the server does.
    TCPClient->sendStartReport(MyCallsign);
}

void TForm1::sendStopReport()
{
    // Never throws and waits at most the report's time limit, so the close always goes on.
    TCPClient->sendStopReport(MyCallsign);
}
