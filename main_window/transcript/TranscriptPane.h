#pragma once

#include <QObject>
#include <QStringList>

class QColor;
class QString;
class QTextEdit;
class ReadingPosition;
class TranscriptRepaintPacer;
struct TDisplaySettings;

// The transcript: the read-only text view, where new lines go in, and the operator's place
// in it. Lines are drawn with the window's display settings as they are when each goes in.
// Received lines of a burst of session events are gathered and go in as one edit.
class TranscriptPane : public QObject
{
    Q_OBJECT

public:
    TranscriptPane(const TDisplaySettings &settings, QObject *parent);

    QTextEdit *view() const { return ChatWindow; }
    ReadingPosition &readingPosition() const { return *m_readingPosition; }

    void writeBanner(const QStringList &lines);
    // Own lines always go in at once and bring the view back to the end.
    void appendOwnLine(const QString &prefix, const QString &text);
    // A received line goes in at once, or with the burst's other lines when it ends.
    void receive(const QString &line);
    void startGathering();
    void finishGathering();
    // Appends the received lines gathered so far, as one edit. Called before any other event
    // of a burst takes effect, so everything the operator sees stays in order.
    void appendGatheredLines();

    void clear();
    void setBackground(const QColor &color);
    // Throws TarnWaveError when the file cannot be written.
    void save(const QString &fileName) const;

    // New lines go in at the transcript's end, found again on every selection change of the
    // view: the window calls this from its handler of them.
    void findInsertPosition();

private:
    const TDisplaySettings &m_settings;
    QTextEdit *ChatWindow = nullptr;
    ReadingPosition *m_readingPosition = nullptr;
    TranscriptRepaintPacer *m_repaintPacer = nullptr;
    int InsertPos = 0;
    bool m_gatheringReceived = false;
    QStringList m_receivedLines;
};
