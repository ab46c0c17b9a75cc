#include "main_window/transcript/TranscriptRepaintPacer.h"

#include <QWidget>

#include <utility>

TranscriptRepaintPacer::TranscriptRepaintPacer(const QList<QWidget *> &paced)
    : QObject(paced.constFirst())
{
    for (QWidget *widget : paced)
        m_paced << widget;
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
    // Updates are dropped while disabled; enabling them again redraws each widget once. The
    // scroll bar too: it moves with every burst, and on an X display each of its repaints is
    // a frame of its own sent to the server.
    setUpdatesEnabled(false);
    m_resume.start(int(FrameMs - sinceRepaint));
}

void TranscriptRepaintPacer::setUpdatesEnabled(bool enabled)
{
    for (const QPointer<QWidget> &widget : std::as_const(m_paced)) {
        if (widget)
            widget->setUpdatesEnabled(enabled);
    }
}

void TranscriptRepaintPacer::resume()
{
    setUpdatesEnabled(true);
    m_sinceRepaint.start();
}
