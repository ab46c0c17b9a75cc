#pragma once

#include <QObject>
#include <QString>

// The object exported at /TarnWave/SetupConfig.
class SimSetupConfig : public QObject
{
    Q_OBJECT

public:
    static const QString Path;

    explicit SimSetupConfig(QObject *parent = nullptr);

    QString callsign() const { return m_callsign; }
    void setCallsign(const QString &callsign);

private:
    QString m_callsign = QStringLiteral("N0CALL");
};
