#include "main_window/transcript/TranscriptPane.h"

#include "base/widgets/ProgramLook.h"
#include "main_window/logic/TDisplaySettings.h"
#include "main_window/logic/TranscriptFile.h"
#include "main_window/logic/TranscriptLayout.h"
#include "main_window/logic/TranscriptLines.h"
#include "main_window/transcript/ReadingPosition.h"
#include "main_window/transcript/TranscriptRepaintPacer.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

TranscriptPane::TranscriptPane(const TDisplaySettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    // Without a parent until the window lays it out, as the other controls.
    , ChatWindow(new QTextEdit)
{
    ChatWindow->setObjectName(QStringLiteral("ChatWindow"));
    ChatWindow->setAccessibleName(QStringLiteral("Transcript"));
    ChatWindow->setAccessibleDescription(QStringLiteral("The chat lines sent and received"));
    QTextDocument *document = ChatWindow->document();
    document->setDocumentLayout(new TranscriptLayout(document));
    ProgramLook::setUpReadingView(*ChatWindow);
    ChatWindow->setAcceptRichText(false);
    QPalette palette = ChatWindow->palette();
    palette.setColor(QPalette::Text, ProgramLook::systemColor("clWindowText"));
    palette.setColor(QPalette::Base, ProgramLook::systemColor("clWindow"));
    ChatWindow->setPalette(palette);
    m_readingPosition = new ReadingPosition(*ChatWindow);
    m_repaintPacer = new TranscriptRepaintPacer({ChatWindow->viewport(), ChatWindow->verticalScrollBar()});
}

void TranscriptPane::writeBanner(const QStringList &lines)
{
    QTextCursor cursor(ChatWindow->document());
    cursor.movePosition(QTextCursor::End);
    for (const QString &line : lines) {
        cursor.insertText(line);
        cursor.insertBlock();
    }
}

void TranscriptPane::appendOwnLine(const QString &prefix, const QString &text)
{
    QTextCursor caret = ChatWindow->textCursor();
    ::appendOwnLine(caret, InsertPos, m_settings, prefix, text);
    m_readingPosition->showAppended(caret, true);
}

void TranscriptPane::receive(const QString &line)
{
    m_receivedLines << line;
    if (!m_gatheringReceived)
        appendGatheredLines();
}

void TranscriptPane::startGathering()
{
    m_gatheringReceived = true;
}

void TranscriptPane::finishGathering()
{
    m_gatheringReceived = false;
    const bool linesWaiting = !m_receivedLines.isEmpty();
    appendGatheredLines();
    if (linesWaiting)
        m_repaintPacer->linesAppended();
}

void TranscriptPane::appendGatheredLines()
{
    if (m_receivedLines.isEmpty())
        return;
    QTextCursor caret = ChatWindow->textCursor();
    appendReceivedLines(caret, InsertPos, m_settings.RecvTextColor, m_receivedLines);
    // A raised view counts the new lines, so it hears of each one; one call does otherwise.
    const qsizetype notices = m_readingPosition->isFollowing() ? 1 : m_receivedLines.size();
    for (qsizetype i = 0; i < notices; ++i)
        m_readingPosition->showAppended(caret, false);
    m_receivedLines.clear();
}

void TranscriptPane::clear()
{
    ChatWindow->clear();
    findInsertPosition();
}

void TranscriptPane::setBackground(const QColor &color)
{
    QPalette palette = ChatWindow->palette();
    palette.setColor(QPalette::Base, color);
    ChatWindow->setPalette(palette);
}

void TranscriptPane::save(const QString &fileName) const
{
    saveTranscript(*ChatWindow->document(), fileName);
}

void TranscriptPane::findInsertPosition()
{
    InsertPos = transcriptLength(*ChatWindow->document());
}
