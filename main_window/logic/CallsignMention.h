#pragma once

#include <QRegularExpression>
#include <QString>

// Whether texts name one call sign as a whole word, in any letter case: "dl1abc" and
// "DL1ABC/P" name DL1ABC, "DL1ABCD" and "XDL1ABC" do not. An empty call sign is never named.
// Made once per call sign: every received line is looked at, and compiling the pattern cost
// more than all the rest of taking a line in.
class CallsignMention
{
public:
    explicit CallsignMention(const QString &callsign = QString());

    const QString &callsign() const { return m_callsign; }
    bool isIn(const QString &text) const;

private:
    QString m_callsign;
    QRegularExpression m_word;
};

bool mentionsCallsign(const QString &text, const QString &callsign);
