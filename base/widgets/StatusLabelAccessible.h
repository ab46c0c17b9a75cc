#pragma once

#include <QAccessibleWidget>

class QLabel;

// A status label as a screen reader sees it: a label whose name says what it shows and whose
// text is its caption, read-only and without a caret.
class StatusLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit StatusLabelAccessible(QLabel *label);

    // Gives label this interface and reports each change of its caption as a text update.
    static void watch(QLabel &label);

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QString caption() const;
};
