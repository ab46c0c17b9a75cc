#include "NamedPipeClient.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

const int WriteTimeoutMs = 5000;
const int ReadTimeoutMs = 1000;

} // namespace

NamedPipeClient::~NamedPipeClient()
{
    close();
    if (m_done)
        CloseHandle(m_done);
}

bool NamedPipeClient::connectTo(const QString &name)
{
    close();
    if (!m_done)
        m_done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_handle = CreateFileW(reinterpret_cast<const wchar_t *>(name.utf16()), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    return m_done && m_handle != INVALID_HANDLE_VALUE;
}

bool NamedPipeClient::isConnected()
{
    return m_handle != INVALID_HANDLE_VALUE && readAvailable();
}

void NamedPipeClient::close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_buffer.clear();
}

bool NamedPipeClient::finish(BOOL started, OVERLAPPED *overlapped, DWORD *done, int timeoutMs)
{
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (WaitForSingleObject(m_done, DWORD(timeoutMs)) != WAIT_OBJECT_0) {
        CancelIoEx(m_handle, overlapped);
        GetOverlappedResult(m_handle, overlapped, done, TRUE);
        return false;
    }
    return GetOverlappedResult(m_handle, overlapped, done, FALSE);
}

bool NamedPipeClient::write(const QByteArray &bytes)
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_done;
    ResetEvent(m_done);
    DWORD written = 0;
    const BOOL started = WriteFile(m_handle, bytes.constData(), DWORD(bytes.size()), nullptr, &overlapped);
    return finish(started, &overlapped, &written, WriteTimeoutMs) && written == DWORD(bytes.size());
}

bool NamedPipeClient::readAvailable()
{
    DWORD available = 0;
    if (!PeekNamedPipe(m_handle, nullptr, 0, nullptr, &available, nullptr))
        return false;
    if (available == 0)
        return true;
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + qsizetype(available));
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_done;
    ResetEvent(m_done);
    DWORD read = 0;
    const BOOL started = ReadFile(m_handle, m_buffer.data() + start, available, nullptr, &overlapped);
    const bool ok = finish(started, &overlapped, &read, ReadTimeoutMs);
    m_buffer.resize(start + qsizetype(read));
    return ok;
}

bool NamedPipeClient::readLine(QByteArray *line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0) {
            *line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            return true;
        }
        if (m_handle == INVALID_HANDLE_VALUE || !readAvailable() || deadline.hasExpired())
            return false;
        if (m_buffer.indexOf('\n') < 0)
            QThread::msleep(10);
    }
}

bool NamedPipeClient::waitForDisconnected(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (isConnected()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}
