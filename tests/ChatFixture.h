#pragma once

#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "main_window/TForm1.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

// A main window on a fake server with its transcript and input line at hand, its clock fixed.
struct ChatFixture
{
    static QDateTime fixedTime() { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }

    explicit ChatFixture(const QString &callsign = QStringLiteral("N0CALL"))
    {
        transport.setCallsign(callsign);
        window = std::make_unique<TForm1>(transport, nullptr, localPresence());
        window->setClock(&ChatFixture::fixedTime);
        transcript = window->findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
        input = window->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    }

    void trigger(const char *action) const { window->findChild<QAction *>(QLatin1String(action))->trigger(); }
    void showDateTime(bool on) const { window->findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(on); }
    void send(const QString &text) const
    {
        input->setText(text);
        QTest::keyClick(input, Qt::Key_Return);
    }
    void receive(const QString &text) { transport.fire(QStringLiteral("OnChatTextReceived"), {text}); }

    // The last line: the document always ends with the empty block after the last break.
    QTextBlock lastLine() const { return transcript->document()->lastBlock().previous(); }
    int lineCount() const { return transcript->document()->blockCount() - 1; }
    QStringList sent() const
    {
        QStringList texts;
        for (const FakeSessionTransport::Call &call : transport.calls) {
            if (call.method == QLatin1String("SendChatText"))
                texts << call.args.value(0).toString();
        }
        return texts;
    }

    FakeSessionTransport transport;
    std::unique_ptr<TForm1> window;
    QTextEdit *transcript = nullptr;
    QLineEdit *input = nullptr;
};
