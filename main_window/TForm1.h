#pragma once

#include "main_window/TransmitKeys.h"
#include "main_window/logic/DisplaySettingsTarget.h"
#include "main_window/logic/LocalClock.h"
#include "main_window/logic/TDisplaySettings.h"
#include "presence/PresenceEndpoint.h"
#include "session/AutomationObject.h"
#include "session/StartupSequence.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>

class CallsignAlert;
class FindBar;
class InputBar;
class InputLineHistory;
class QAction;
class QDialog;
class QLineEdit;
class PresenceClient;
class QTextEdit;
class SessionTransport;
class StationPanel;
class StatusBar;
class TranscriptPane;
class TTarnWaveSession;

// The main window: the transcript, the input bar, the status bar and the station panel, in
// front of the session server. Creating it runs the start-up sequence; closing it runs the
// close sequence. It puts the rooms together and hands each event to the room it concerns.
class TForm1 : public QMainWindow, public DisplaySettingsTarget
{
    Q_OBJECT

public:
    // Presence reports go to the maker's server unless tests name another endpoint.
    explicit TForm1(SessionTransport &transport, QWidget *parent = nullptr,
                    const PresenceEndpoint &presence = PresenceEndpoint());
    ~TForm1() override;

    // The windows the menus open; created after the main window, so they arrive later.
    void setAboutWindow(QDialog *about);
    void setOptionsDialog(QDialog *options);

    const QString &callsign() const { return MyCallsign; }
    const TDisplaySettings &displaySettings() const override { return DisplaySettings; }
    TDisplaySettings &displaySettings() { return DisplaySettings; }
    // The Options dialog's OK is the only thing that changes these.
    void setDisplaySettings(const TDisplaySettings &settings) override;
    void setTranscriptBackground(const QColor &color) override;
    bool isSessionConnected() const;

    // Where transcript lines take their date and time from; tests fix it.
    using Clock = std::function<QDateTime()>;
    void setClock(Clock clock);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createLayout();
    // Find bar, input history and call-sign alert.
    void createReadingAids();
    void connectSessionEvents();

    void FormCreate();
    void FormClose();
    void createStartupSteps();
    // Carries on with start-up where it stopped, or attaches again after the server went
    // away; the operator is not told when no server runs yet.
    void resumeStartup();
    void sessionServerLost();

    // The session object, or a clear error when start-up never created it.
    const AutomationObject &session() const;
    // The same for a call the operator makes: a server that runs again is attached first.
    const AutomationObject &linkedSession();

    void Button1Click();
    void Edit1KeyPress(const QKeyEvent &event);
    void ChatWindowKeyPress(const QKeyEvent &event);
    void FormKeyPress(const QKeyEvent &event);
    void ChatWindowSelectionChange();
    // The date and time text of a new line, or empty when "Show Date/Time" is unchecked.
    QString lineDateTime() const;

    void TarnWaveSession1Closing();
    void TarnWaveSession1RX(bool bRX);
    void TarnWaveSession1TX(bool bTX);
    void TarnWaveSession1Connected(const QString &sCall, const QString &sName, const QString &sAddr);
    void TarnWaveSession1Disconnected(const QString &sCall);
    void TarnWaveSession1ChatTextReceived(const QString &sText);
    void TarnWaveSession1StationTextReceived(const QString &sText);

    void Save1Click();
    void Exit1Click();
    void Options1Click();
    void ShowHideStationlist1Click();
    void AlwaysOnTop1Click();
    void ClearScreen1Click();
    void About1Click();

    SessionTransport &m_transport;
    PresenceClient *TCPClient = nullptr;

    StartupSequence m_startup;
    // Only start-up's first attempt may have the server started; later ones never launch it
    // behind the operator's back.
    AutomationObject::Attach m_attach = AutomationObject::Attach::RunningOrNew;
    // Choices the operator made before a late start-up reached the steps that set them.
    bool m_displaySettingsChosen = false;
    bool m_stationPanelChosen = false;

    // Process-wide state, alive for the whole run.
    std::unique_ptr<AutomationObject> SessionObject;
    std::unique_ptr<AutomationObject> ConfigObject;
    QString MyCallsign;
    bool StationPanelVisible = false;
    TDisplaySettings DisplaySettings;

    Clock m_clock = LocalClock();
    TransmitKeys m_transmitKeys;

    TTarnWaveSession *TarnWaveSession1 = nullptr;
    QDialog *m_aboutWindow = nullptr;
    QDialog *m_optionsDialog = nullptr;

    TranscriptPane *m_transcript = nullptr;
    StationPanel *Panel3 = nullptr;
    InputBar *Panel1 = nullptr;
    StatusBar *Panel2 = nullptr;
    QTextEdit *ChatWindow = nullptr;
    QLineEdit *Edit1 = nullptr;
    FindBar *m_findBar = nullptr;
    InputLineHistory *m_inputHistory = nullptr;
    CallsignAlert *m_callsignAlert = nullptr;

    QAction *Save1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *Options1 = nullptr;
    QAction *ShowDateTime1 = nullptr;
    QAction *ShowHideStationlist1 = nullptr;
    QAction *AlwaysOnTop1 = nullptr;
    QAction *ClearScreen1 = nullptr;
    QAction *About1 = nullptr;
};
