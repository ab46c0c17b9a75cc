#include "main_window/logic/TransmitToggle.h"

#include "base/TarnWaveError.h"
#include "main_window/logic/TransmitOwnership.h"
#include "session/AutomationObject.h"

#include <QKeyEvent>

void toggleTransmit(const AutomationObject &session, TransmitOwnership &ownership)
{
    const QVariant transmitting = session.property(QStringLiteral("Transmitting"));
    // Anything but a boolean would toggle to a guess.
    if (transmitting.typeId() != QMetaType::Bool)
        throw TarnWaveError(QStringLiteral("The session server sent no yes/no value for Transmitting"));
    ownership.transmit(session, !transmitting.toBool());
}

bool isSpaceToggle(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Space && !event.isAutoRepeat();
}

bool isCharacterToggle(const QKeyEvent &event)
{
    return !event.text().isEmpty() && !event.isAutoRepeat();
}

bool inputLineTogglesOnSpace(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}
