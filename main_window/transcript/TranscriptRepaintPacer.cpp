#include "main_window/transcript/TranscriptRepaintPacer.h"

#include <QWidget>

TranscriptRepaintPacer::TranscriptRepaintPacer(QWidget &viewport)
    : QObject(&viewport)
    , m_viewport(viewport)
{
    m_resume.setSingleShot(true);
    m_resume.setTimerType(Qt::PreciseTimer);
    connect(&m_resume, &QTimer::timeout, this, &TranscriptRepaintPacer::resume);
}

void TranscriptRepaintPacer::linesAppended()
{
    if (m_resume.isActive())
        return;
    const qint64 sinceRepaint = m_sinceRepaint.isValid() ? m_sinceRepaint.elapsed() : FrameMs;
    if (sinceRepaint >= FrameMs) {
        // This burst is drawn when the event loop turns.
        m_sinceRepaint.start();
        return;
    }
    // Updates are dropped while disabled; enabling them again redraws the whole view once.
    m_viewport.setUpdatesEnabled(false);
    m_resume.start(int(FrameMs - sinceRepaint));
}

void TranscriptRepaintPacer::resume()
{
    m_viewport.setUpdatesEnabled(true);
    m_sinceRepaint.start();
}
