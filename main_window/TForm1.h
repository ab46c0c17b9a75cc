#pragma once

#include "main_window/LinkStatus.h"
#include "main_window/TDisplaySettings.h"
#include "main_window/TransmitOwnership.h"
#include "presence/PresenceEndpoint.h"

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class AutomationObject;
class CallsignAlert;
class FindBar;
class InputLineHistory;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class PresenceClient;
class QTextEdit;
class ReadingPosition;
class SessionTransport;
class TTarnWaveSession;
class TranscriptRepaintPacer;

// The main window: the transcript, the input bar, the status bar and the station panel, in
// front of the session server. Creating it runs the start-up sequence; closing it runs the
// close sequence.
class TForm1 : public QMainWindow
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
    const TDisplaySettings &displaySettings() const { return DisplaySettings; }
    TDisplaySettings &displaySettings() { return DisplaySettings; }
    // The Options dialog's OK is the only thing that changes it.
    void setTranscriptBackground(const QColor &color);
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
    void createTranscript();
    void createStationPanel();
    void createInputBar();
    void createStatusBar();
    void createLayout();
    // Find bar, new-lines bar, input history and call-sign alert.
    void createReadingAids();
    void connectSessionEvents();

    void FormCreate();
    void FormClose();
    // Never leaves a transmitter that this program keyed keyed when the window closes.
    void unkeyBeforeClose();

    // The session object, or a clear error when start-up never created it.
    const AutomationObject &session() const;

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
    // Appends the received lines gathered so far, as one edit.
    void appendGatheredLines();
    void TarnWaveSession1StationTextReceived(const QString &sText);

    void Save1Click();
    void Exit1Click();
    void Options1Click();
    void ShowHideStationlist1Click();
    void AlwaysOnTop1Click();
    void ClearScreen1Click();
    void About1Click();

    void sendStartReport();
    void sendStopReport();
    void showConnectionState(bool connected);
    void showConnectedStations();
    void showIndicator();

    SessionTransport &m_transport;
    PresenceClient *TCPClient = nullptr;

    // Process-wide state, alive for the whole run.
    std::unique_ptr<AutomationObject> SessionObject;
    std::unique_ptr<AutomationObject> ConfigObject;
    QString MyCallsign;
    bool StationPanelVisible = false;
    QStringList StationLines;
    // Holds ConnectedStations; created with the window, so no event finds it missing.
    LinkStatus m_linkStatus;
    int InsertPos = 0;
    // During a burst of session events, received lines wait here for its end.
    bool m_gatheringReceived = false;
    QStringList m_receivedLines;
    TDisplaySettings DisplaySettings;

    Clock m_clock = [] { return QDateTime::currentDateTime(); };
    TransmitOwnership m_transmitOwnership;

    TTarnWaveSession *TarnWaveSession1 = nullptr;
    QDialog *m_aboutWindow = nullptr;
    QDialog *m_optionsDialog = nullptr;

    QTextEdit *ChatWindow = nullptr;
    QFrame *Panel1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QFrame *Panel2 = nullptr;
    QLabel *StaticText1 = nullptr;
    QLabel *StaticText2 = nullptr;
    QLabel *StaticText3 = nullptr;
    QFrame *Panel3 = nullptr;
    QPlainTextEdit *StationWindow = nullptr;
    ReadingPosition *m_readingPosition = nullptr;
    TranscriptRepaintPacer *m_repaintPacer = nullptr;
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
