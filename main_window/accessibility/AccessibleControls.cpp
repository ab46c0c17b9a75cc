#include "main_window/accessibility/AccessibleControls.h"

#include "main_window/accessibility/StatusLabelAccessible.h"

#include <QLabel>
#include <QWidget>

namespace {

struct Description
{
    const char *objectName;
    const char *name;
    const char *description;
};

void describe(QWidget &parent, const Description &entry)
{
    auto *control = parent.findChild<QWidget *>(QString::fromLatin1(entry.objectName));
    if (!control)
        return;
    control->setAccessibleName(QString::fromLatin1(entry.name));
    control->setAccessibleDescription(QString::fromLatin1(entry.description));
}

} // namespace

namespace AccessibleControls {

void describeMainWindow(QWidget &window)
{
    static const Description controls[] = {
        {"Edit1", "Message", "The chat line to send; Enter sends it, Up and Down recall sent lines"},
        {"Button1", "Send", "Sends the chat line"},
        {"ChatWindow", "Transcript", "The chat lines sent and received"},
        {"StaticText2", "Connection", "Whether any station is connected"},
        {"StaticText3", "Connected stations", "The call signs of the connected stations"},
        {"StaticText1", "Receive or transmit", "Shows RX while receiving and TX while transmitting"},
        {"StationWindow", "Station information", "The station information text"},
    };
    for (const Description &entry : controls)
        describe(window, entry);
    for (const char *label : {"StaticText1", "StaticText2", "StaticText3"}) {
        if (auto *status = window.findChild<QLabel *>(QString::fromLatin1(label)))
            exposeStatusText(*status);
    }
}

void describeOptionsDialog(QWidget &dialog)
{
    static const Description controls[] = {
        {"PageControl1", "Options pages", "The pages of the Options dialog"},
        {"FontName", "Font", "The font face of own lines"},
        {"FontSize", "Size", "The font size of own lines, in points"},
        {"FontStyle", "Style", "The font style of own lines"},
        {"MyTextColorBox", "My Text Color", "The colour of own lines"},
        {"RecvTextColorBox", "Received Text Color", "The colour of received lines"},
        {"BGColorBox", "Background Color", "The transcript's background colour"},
        {"PreviewText", "Preview", "How own and received lines will look"},
        {"ResetDefaultBtn", "Reset", "Returns the fonts and colours to their defaults"},
        {"OKBtn", "OK", "Applies the fonts and colours and closes the dialog"},
        {"CancelBtn", "Cancel", "Closes the dialog without applying anything"},
    };
    for (const Description &entry : controls)
        describe(dialog, entry);
    // Drop-down lists take their name from the label they are the buddy of: on Linux a list's
    // own name is its current entry.
    for (const char *labelled : {"FontName", "FontSize", "FontStyle", "MyTextColorBox", "RecvTextColorBox",
                                 "BGColorBox", "PreviewText"}) {
        QWidget *control = dialog.findChild<QWidget *>(QString::fromLatin1(labelled));
        if (!control || !control->parentWidget())
            continue;
        for (QLabel *label : control->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (label->text() == control->accessibleName())
                label->setBuddy(control);
        }
    }
}

void exposeStatusText(QLabel &label)
{
    StatusLabelAccessible::watch(label);
}

} // namespace AccessibleControls
