#include "main_window/logic/ReceivedText.h"

namespace {

constexpr char16_t ControlPictures = 0x2400;     // U+2400 SYMBOL FOR NULL, then one per code
constexpr char16_t DeletePicture = 0x2421;
constexpr char16_t NewlinePicture = 0x2424;
constexpr char16_t NextLine = 0x0085;
constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;
// The text document's own frame markers, which it would take as paragraph breaks.
constexpr char16_t FrameStart = 0xfdd0;
constexpr char16_t FrameEnd = 0xfdd1;

QChar picture(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x20 && code != u'\t')
        return QChar(char16_t(ControlPictures + code));
    switch (code) {
    case 0x7f:
        return QChar(DeletePicture);
    case NextLine:
    case LineSeparator:
    case ParagraphSeparator:
        return QChar(NewlinePicture);
    case FrameStart:
    case FrameEnd:
        return QChar(QChar::ReplacementCharacter);
    default:
        return c;
    }
}

} // namespace

QString transcriptSafeText(const QString &received)
{
    QStringView text(received);
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);

    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text)
        shown.append(picture(c));
    return shown;
}
