#include "SimCommandQueue.h"

#include <QTimer>

SimCommandQueue::SimCommandQueue(QObject *parent) : QObject(parent) {}

void SimCommandQueue::start()
{
    m_started = true;
    runPending();
}

void SimCommandQueue::addLine(const QString &line)
{
    m_pending.enqueue({++m_lineCount, line});
    runPending();
}

void SimCommandQueue::runPending()
{
    // A command may wait on a client (a COM event is a call) and the event loop can then
    // deliver another line; the loop already running picks it up, in order.
    if (m_running)
        return;
    m_running = true;
    while (m_started && !m_sleeping && !m_quitting && !m_pending.isEmpty()) {
        if (!runLine(m_pending.dequeue()))
            break;
    }
    m_running = false;
}

bool SimCommandQueue::runLine(const PendingLine &line)
{
    const SimParseResult result = SimCommandParser::parse(line.text);
    switch (result.status) {
    case SimParseResult::Status::Ignored:
        return true;
    case SimParseResult::Status::Error:
        Q_EMIT lineFailed(SimCommandParser::describeError(line.number, line.text, result.error));
        return true;
    case SimParseResult::Status::Command:
        break;
    }
    const SimCommand &command = result.command;
    if (command.kind == SimCommand::Kind::Sleep) {
        m_sleeping = true;
        QTimer::singleShot(int(command.number), this, [this] {
            m_sleeping = false;
            runPending();
        });
        return false;
    }
    if (command.kind == SimCommand::Kind::Quit) {
        m_quitting = true;
        Q_EMIT quitRequested();
        return false;
    }
    Q_EMIT commandReady(command);
    return true;
}
