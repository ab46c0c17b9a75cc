#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Paces the transcript's repaints while a flood of received lines arrives: the view and its
// scroll bar are drawn at most once a frame, not after every burst of lines. A burst that
// comes after a quiet frame is drawn at once, so a single line shows without delay.
class TranscriptRepaintPacer : public QObject
{
    Q_OBJECT

public:
    static constexpr int FrameMs = 16;

    // The widgets a burst redraws: the first one owns the pacer.
    explicit TranscriptRepaintPacer(const QList<QWidget *> &paced);

    // Lines of a burst went into the transcript.
    void linesAppended();

private:
    void setUpdatesEnabled(bool enabled);
    void resume();

    QList<QPointer<QWidget>> m_paced;
    QElapsedTimer m_sinceRepaint;
    QTimer m_resume;
};
