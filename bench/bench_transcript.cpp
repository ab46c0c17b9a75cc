// Cost of one transcript line as the operator's window sees it, at 1k, 10k and 100k lines of
// scrollback, beside a bare QTextDocument taking the same lines in the same run. Own and
// received lines alternate, each from its own queued event, so layout and painting in the
// event loop count too. The levels are measured in interleaved rounds and each batch is
// trimmed off again, so every level keeps its size and shares the machine's noise; the
// fastest round of each level is reported.

#include "BenchReport.h"
#include "BenchSessionTransport.h"

#include "main_window/TForm1.h"
#include "main_window/logic/TDisplaySettings.h"
#include "main_window/logic/TranscriptLines.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr std::array<int, 3> Levels{1000, 10000, 100000};
constexpr int BatchLines = 300;
constexpr int Rounds = 7;
constexpr double GrowthTarget = 1.3;

QString lineText(int i)
{
    return QStringLiteral("line %1 of an ordinary exchange, signal report 59, QTH and name").arg(i);
}

QString receivedText(int i)
{
    return QStringLiteral("W1AW>") + lineText(i);
}

void trimTo(QTextDocument &document, int length)
{
    QTextCursor cursor(&document);
    cursor.setPosition(length);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// The main window on an in-process server: own lines typed and sent, received lines as events.
class WindowTarget
{
public:
    explicit WindowTarget(int scrollback)
        : m_window(m_transport)
    {
        m_input = m_window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        m_send = m_window.findChild<QPushButton *>(QStringLiteral("Button1"));
        m_document = m_window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->document();
        // The scrollback goes in as one edit, laid out once; the lines look as sent ones do.
        QTextCursor cursor(m_document);
        cursor.beginEditBlock();
        for (int i = 0; i < scrollback; ++i) {
            if (i % 2 == 0)
                appendOwnLine(cursor, length(), m_window.displaySettings(), QStringLiteral("N0CALL>"), lineText(i));
            else
                appendReceivedLine(cursor, length(), m_window.displaySettings().RecvTextColor, receivedText(i));
        }
        cursor.endEditBlock();
        m_window.show();
        QCoreApplication::processEvents();
    }
    void append(int i)
    {
        if (i % 2 == 0) {
            m_input->setText(lineText(i));
            m_send->click();
        } else {
            m_transport.fire(QStringLiteral("OnChatTextReceived"), QVariantList{receivedText(i)});
        }
    }
    int length() const { return transcriptLength(*m_document); }
    void trim(int to)
    {
        trimTo(*m_document, to);
        QCoreApplication::processEvents();
    }

private:
    BenchSessionTransport m_transport;
    TForm1 m_window;
    QLineEdit *m_input = nullptr;
    QPushButton *m_send = nullptr;
    QTextDocument *m_document = nullptr;
};

// The same lines with the same formats, straight into a document nobody shows.
class DocumentTarget
{
public:
    explicit DocumentTarget(int scrollback)
    {
        m_settings.setDefaults();
        for (int i = 0; i < scrollback; ++i)
            append(i);
    }
    void append(int i)
    {
        QTextCursor cursor(&m_document);
        if (i % 2 == 0)
            appendOwnLine(cursor, length(), m_settings, QStringLiteral("N0CALL>"), lineText(i));
        else
            appendReceivedLine(cursor, length(), m_settings.RecvTextColor, receivedText(i));
    }
    int length() const { return transcriptLength(m_document); }
    void trim(int to) { trimTo(m_document, to); }

private:
    TDisplaySettings m_settings;
    QTextDocument m_document;
};

template<typename Target>
double measureBatch(Target &target)
{
    const int before = target.length();
    const double cost = microsecondsPerStep(BatchLines, [&target](int i) { target.append(i); });
    target.trim(before);
    return cost;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    std::vector<std::unique_ptr<WindowTarget>> windows;
    std::vector<std::unique_ptr<DocumentTarget>> documents;
    for (const int level : Levels) {
        windows.push_back(std::make_unique<WindowTarget>(level));
        documents.push_back(std::make_unique<DocumentTarget>(level));
    }

    std::array<double, Levels.size()> window;
    std::array<double, Levels.size()> bare;
    window.fill(1e300);
    bare.fill(1e300);
    for (int round = 0; round < Rounds; ++round) {
        for (std::size_t i = 0; i < Levels.size(); ++i) {
            window[i] = std::min(window[i], measureBatch(*windows[i]));
            bare[i] = std::min(bare[i], measureBatch(*documents[i]));
        }
    }

    std::printf("transcript: microseconds per appended line (fastest of %d interleaved rounds of %d lines)\n",
                Rounds, BatchLines);
    std::printf("%10s %12s %14s %12s %12s\n", "scrollback", "window us", "bare doc us", "window/bare",
                "vs 1k lines");
    for (std::size_t i = 0; i < Levels.size(); ++i) {
        std::printf("%10d %12.2f %14.2f %12.2f %12.2f\n", Levels[i], window[i], bare[i], window[i] / bare[i],
                    window[i] / window[0]);
    }
    const double growth = window.back() / window.front();
    std::printf("target: window cost at %d lines within %.1fx of %d lines: %.2fx, %s\n", Levels.back(),
                GrowthTarget, Levels.front(), growth, growth <= GrowthTarget ? "met" : "NOT MET");
    reportResult(QStringLiteral("transcript"), QStringLiteral("line cost at 100k / at 1k (event loop)"),
                 QStringLiteral("%1 us / %2 us = %3x").arg(window.back(), 0, 'f', 1).arg(window.front(), 0, 'f', 1).arg(growth, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(GrowthTarget), growth <= GrowthTarget);
    reportFigure(QStringLiteral("transcript"), QStringLiteral("line cost at 1k vs bare QTextDocument"),
                 QStringLiteral("%1x").arg(window.front() / bare.front(), 0, 'f', 2));
    return 0;
}
