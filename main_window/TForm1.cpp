#include "main_window/TForm1.h"

#include "base/ProgramConstants.h"
#include "base/TarnWaveError.h"
#include "base/widgets/GeneralErrorHandler.h"
#include "base/widgets/ProgramLook.h"
#include "main_window/InputBar.h"
#include "main_window/InputLineHistory.h"
#include "main_window/MainWindowLayout.h"
#include "main_window/StationPanel.h"
#include "main_window/StatusBar.h"
#include "main_window/logic/LinePrefix.h"
#include "main_window/logic/ReceivedText.h"
#include "main_window/transcript/CallsignAlert.h"
#include "main_window/transcript/FindBar.h"
#include "main_window/transcript/ReadingPosition.h"
#include "main_window/transcript/SaveFileDialog.h"
#include "main_window/transcript/TranscriptPane.h"
#include "presence/PresenceClient.h"
#include "session/AutomationObject.h"
#include "session/SessionTransport.h"
#include "session/TTarnWaveSession.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

TForm1::TForm1(SessionTransport &transport, QWidget *parent, const PresenceEndpoint &presence)
    : QMainWindow(parent)
    , m_transport(transport)
    , TCPClient(new PresenceClient(presence, this))
    , m_transmitKeys([this]() -> const AutomationObject & { return linkedSession(); })
{
    setObjectName(QStringLiteral("Form1"));
    // Widgets and the event wrapper exist before any event can arrive.
    createActions();
    createMenus();
    m_transcript = new TranscriptPane(DisplaySettings, this);
    ChatWindow = m_transcript->view();
    ChatWindow->installEventFilter(this);
    connect(ChatWindow, &QTextEdit::selectionChanged, this, &TForm1::ChatWindowSelectionChange);
    connect(ChatWindow, &QTextEdit::cursorPositionChanged, this, &TForm1::ChatWindowSelectionChange);
    Panel3 = new StationPanel;
    Panel1 = new InputBar;
    Edit1 = Panel1->line();
    Edit1->installEventFilter(this);
    connect(Panel1, &InputBar::sendRequested, this, GeneralErrorHandler::guarded(this, &TForm1::Button1Click));
    Panel2 = new StatusBar;
    createReadingAids();
    createLayout();
    connectSessionEvents();
    createStartupSteps();
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

void TForm1::setDisplaySettings(const TDisplaySettings &settings)
{
    DisplaySettings = settings;
    m_displaySettingsChosen = true;
}

void TForm1::setTranscriptBackground(const QColor &color)
{
    m_transcript->setBackground(color);
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
    connect(Save1, &QAction::triggered, this, GeneralErrorHandler::guarded(this, &TForm1::Save1Click));

    Exit1 = new QAction(QStringLiteral("Exit"), this);
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    Options1 = new QAction(QStringLiteral("Options..."), this);
    Options1->setObjectName(QStringLiteral("Options1"));
    connect(Options1, &QAction::triggered, this, GeneralErrorHandler::guarded(this, &TForm1::Options1Click));

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
    connect(About1, &QAction::triggered, this, GeneralErrorHandler::guarded(this, &TForm1::About1Click));
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

void TForm1::createLayout()
{
    setWindowTitle(QString::fromLatin1(ProgramConstants::ApplicationTitle));
    setFont(ProgramLook::windowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ProgramLook::systemColor("clBtnFace"));
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
    m_transcript->readingPosition().setFocusAfterBar(Edit1);
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
    connect(&m_transport, &SessionTransport::burstStarted, m_transcript, &TranscriptPane::startGathering);
    connect(&m_transport, &SessionTransport::burstFinished, m_transcript, &TranscriptPane::finishGathering);
    const auto guarded = [this](auto handler) {
        return GeneralErrorHandler::guarded([this, handler](auto &&...args) {
            m_transcript->appendGatheredLines();
            (this->*handler)(args...);
        });
    };
    connect(TarnWaveSession1, &TTarnWaveSession::OnClosing, this, guarded(&TForm1::TarnWaveSession1Closing));
    connect(TarnWaveSession1, &TTarnWaveSession::OnRX, this, guarded(&TForm1::TarnWaveSession1RX));
    connect(TarnWaveSession1, &TTarnWaveSession::OnTX, this, guarded(&TForm1::TarnWaveSession1TX));
    connect(TarnWaveSession1, &TTarnWaveSession::OnTX, this, [this](bool bTX) { m_transmitKeys.txReported(bTX); });
    connect(TarnWaveSession1, &TTarnWaveSession::OnConnected, this, guarded(&TForm1::TarnWaveSession1Connected));
    connect(TarnWaveSession1, &TTarnWaveSession::OnDisconnected, this,
            guarded(&TForm1::TarnWaveSession1Disconnected));
    connect(TarnWaveSession1, &TTarnWaveSession::OnChatTextReceived, this,
            GeneralErrorHandler::guarded(this, &TForm1::TarnWaveSession1ChatTextReceived));
    connect(TarnWaveSession1, &TTarnWaveSession::OnStationTextReceived, this,
            guarded(&TForm1::TarnWaveSession1StationTextReceived));
    connect(&m_transport, &SessionTransport::serverLost, this, &TForm1::sessionServerLost);
    connect(&m_transport, &SessionTransport::serverAppeared, this, &TForm1::resumeStartup);
}

void TForm1::createStartupSteps()
{
    using Repeat = StartupSequence::Repeat;
    m_startup.addStep(Repeat::EachAttach, [this] {
        SessionObject = std::make_unique<AutomationObject>(
            m_transport, QString::fromLatin1(TarnWave_TLB::SessionProgId), m_attach);
    });
    m_startup.addStep(Repeat::EachAttach, [this] {
        TarnWaveSession1->Connect(m_attach == AutomationObject::Attach::RunningOnly
                                      ? TTarnWaveSession::TConnectKind::ckRunningInstance
                                      : TarnWaveSession1->ConnectKind());
    });
    m_startup.addStep(Repeat::EachAttach, [this] {
        ConfigObject = std::make_unique<AutomationObject>(
            m_transport, QString::fromLatin1(TarnWave_TLB::SetupConfigProgId), m_attach);
    });
    m_startup.addStep(Repeat::Once, [this] {
        MyCallsign = ConfigObject->property(QStringLiteral("Callsign")).toString();
    });
    m_startup.addStep(Repeat::Once, [this] {
        setWindowTitle(QString::fromLatin1(ProgramConstants::ApplicationTitle) + QStringLiteral(" - ")
                       + MyCallsign);
    });
    m_startup.addStep(Repeat::Once, [this] {
        m_transcript->writeBanner({
            QStringLiteral("TarnWave Chat Version %1 by %2")
                .arg(QLatin1String(ProgramConstants::ProgramVersion),
                     QLatin1String(ProgramConstants::AuthorCredit)),
            QStringLiteral("Checked for update at ") + QLatin1String(ProgramConstants::MakerWebAddress),
        });
    });
    m_startup.addStep(Repeat::Once, [this] {
        if (m_stationPanelChosen)
            return;
        StationPanelVisible = false;
        ShowHideStationlist1->setChecked(false);
        Panel3->hide();
    });
    m_startup.addStep(Repeat::Once, [this] {
        if (!m_displaySettingsChosen)
            DisplaySettings.setDefaults();
    });
    m_startup.addStep(Repeat::EachAttach, [this] {
        Panel2->showConnectionState(session().property(QStringLiteral("NumPeers")).toInt() >= 1);
    });
    m_startup.addStep(Repeat::Once, [this] {
        // Asynchronous: the window opens at once, whatever the server does.
        TCPClient->sendStartReport(MyCallsign);
    });
}

void TForm1::FormCreate()
{
    // An error ends the sequence at its step; the window still opens, and the steps left are
    // run when a session server turns up.
    GeneralErrorHandler::guard([this] { m_startup.run(); });
    m_attach = AutomationObject::Attach::RunningOnly;
}

void TForm1::resumeStartup()
{
    if (m_startup.isComplete())
        return;
    GeneralErrorHandler::guard([this] {
        try {
            m_startup.run();
        } catch (const TarnWaveError &) {
            // The server is not there yet, or not whole: the transport goes on watching, and
            // a call the operator makes says what is wrong.
        }
    });
}

void TForm1::sessionServerLost()
{
    m_transcript->appendGatheredLines();
    m_startup.linkLost();
    m_transmitKeys.serverLost();
    Panel2->serverLost();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    // Its own guard: a failed unkey is shown, and the close goes on.
    GeneralErrorHandler::guard([this] { m_transmitKeys.unkeyBeforeClose(); });
    GeneralErrorHandler::guard([this] {
        TarnWaveSession1->Disconnect();
        // Never throws and waits at most the report's time limit, so the close always goes on.
        TCPClient->sendStopReport(MyCallsign);
    });
}

const AutomationObject &TForm1::session() const
{
    if (!SessionObject)
        throw TarnWaveError(QStringLiteral("Not connected to the session server"));
    return *SessionObject;
}

const AutomationObject &TForm1::linkedSession()
{
    resumeStartup();
    return session();
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
    // Before the line is echoed, so that late banner lines come first.
    resumeStartup();
    m_transcript->appendOwnLine(ownLinePrefix(MyCallsign, lineDateTime()), Edit1->text());
    // A failed send leaves the line in the input line, to send again.
    session().call(QStringLiteral("SendChatText"), {Edit1->text()});
    m_inputHistory->lineSent(Edit1->text());
    Edit1->clear();
}

void TForm1::Edit1KeyPress(const QKeyEvent &event)
{
    m_transmitKeys.inputLineKey(event, *Edit1);
}

void TForm1::ChatWindowKeyPress(const QKeyEvent &event)
{
    m_transmitKeys.transcriptKey(event);
}

void TForm1::FormKeyPress(const QKeyEvent &event)
{
    // Keys a control leaves unhandled (Enter in the input line, letters in the transcript)
    // reach the window too; only a window without a focused control toggles.
    const QWidget *focused = focusWidget();
    if (!focused || focused == this)
        m_transmitKeys.windowKey(event);
}

void TForm1::ChatWindowSelectionChange()
{
    m_transcript->findInsertPosition();
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
    Panel2->receivingChanged(bRX);
}

void TForm1::TarnWaveSession1TX(bool bTX)
{
    Panel2->transmittingChanged(bTX);
}

void TForm1::TarnWaveSession1Connected(const QString &sCall, const QString &sName, const QString &sAddr)
{
    // Only the call sign is shown.
    Q_UNUSED(sName);
    Q_UNUSED(sAddr);
    Panel2->stationConnected(sCall);
}

void TForm1::TarnWaveSession1Disconnected(const QString &sCall)
{
    Panel2->stationDisconnected(sCall);
}

void TForm1::TarnWaveSession1ChatTextReceived(const QString &sText)
{
    m_transcript->receive(receivedLinePrefix(lineDateTime()) + transcriptSafeText(sText));
    m_callsignAlert->received(sText, MyCallsign);
}

void TForm1::TarnWaveSession1StationTextReceived(const QString &sText)
{
    Panel3->showStationText(sText);
}

void TForm1::Save1Click()
{
    const QString fileName = SaveFileDialog::getSaveFileName(this);
    if (!fileName.isEmpty())
        m_transcript->save(fileName);
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
    m_stationPanelChosen = true;
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
    m_transcript->clear();
}

void TForm1::About1Click()
{
    if (m_aboutWindow)
        m_aboutWindow->exec();
}
