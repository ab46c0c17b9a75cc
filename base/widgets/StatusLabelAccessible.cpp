#include "base/widgets/StatusLabelAccessible.h"

#include <QEvent>
#include <QLabel>
#include <utility>

namespace {

const char WatchedProperty[] = "tarnwaveStatusText";

QAccessibleInterface *statusLabelFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(WatchedProperty).isValid())
        return new StatusLabelAccessible(label);
    return nullptr;
}

// QLabel reports no change of its caption once it has an accessible name, so this watches for
// the repaint that a new caption causes and reports the change then.
class CaptionWatcher : public QObject
{
public:
    explicit CaptionWatcher(QLabel &label)
        : QObject(&label)
        , m_label(label)
        , m_reported(label.text())
    {
        label.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &m_label && (type == QEvent::Paint || type == QEvent::Show) && m_label.text() != m_reported) {
            const QString old = std::exchange(m_reported, m_label.text());
            QAccessibleTextUpdateEvent update(&m_label, 0, old, m_reported);
            QAccessible::updateAccessibility(&update);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel &m_label;
    QString m_reported;
};

} // namespace

StatusLabelAccessible::StatusLabelAccessible(QLabel *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

void StatusLabelAccessible::watch(QLabel &label)
{
    static const bool installed = [] {
        QAccessible::installFactory(statusLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label.setProperty(WatchedProperty, true);
    // An interface made before, when the label got its first caption, would be kept forever.
    QAccessibleInterface *earlier = QAccessible::queryAccessibleInterface(&label);
    if (earlier && !dynamic_cast<StatusLabelAccessible *>(earlier))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(earlier));
    new CaptionWatcher(label);
}

QString StatusLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return caption();
    return QAccessibleWidget::text(t);
}

void *StatusLabelAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void StatusLabelAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

int StatusLabelAccessible::selectionCount() const
{
    return 0;
}

void StatusLabelAccessible::addSelection(int, int) {}

void StatusLabelAccessible::removeSelection(int) {}

void StatusLabelAccessible::setSelection(int, int, int) {}

int StatusLabelAccessible::cursorPosition() const
{
    return 0;
}

void StatusLabelAccessible::setCursorPosition(int) {}

QString StatusLabelAccessible::text(int startOffset, int endOffset) const
{
    const QString whole = caption();
    if (endOffset < 0 || endOffset > whole.size())
        endOffset = int(whole.size());
    startOffset = qBound(0, startOffset, endOffset);
    return whole.mid(startOffset, endOffset - startOffset);
}

int StatusLabelAccessible::characterCount() const
{
    return int(caption().size());
}

QRect StatusLabelAccessible::characterRect(int) const
{
    // One box for the whole caption is as precise as a centred label needs.
    return rect();
}

int StatusLabelAccessible::offsetAtPoint(const QPoint &) const
{
    return 0;
}

void StatusLabelAccessible::scrollToSubstring(int, int) {}

QString StatusLabelAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QString StatusLabelAccessible::caption() const
{
    return static_cast<const QLabel *>(widget())->text();
}
