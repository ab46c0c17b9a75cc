#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Paces the transcript's repaints while a flood of received lines arrives: the view is drawn
// at most once a frame, not after every burst of lines. A burst that comes after a quiet
// frame is drawn at once, so a single line shows without delay.
class TranscriptRepaintPacer : public QObject
{
    Q_OBJECT

public:
    static constexpr int FrameMs = 16;

    explicit TranscriptRepaintPacer(QWidget &viewport);

    // Lines of a burst went into the transcript.
    void linesAppended();
    bool isHoldingRepaints() const { return m_resume.isActive(); }

private:
    void resume();

    QWidget &m_viewport;
    QElapsedTimer m_sinceRepaint;
    QTimer m_resume;
};
