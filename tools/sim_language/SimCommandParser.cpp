#include "SimCommandParser.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>

#include <limits>

namespace {

using Kind = SimCommand::Kind;

enum class Shape {
    None,      // no arguments
    Text,      // rest of the line
    Switch,    // on|off
    Connect,   // CALL [NAME [ADDR]]
    Call,      // CALL
    Int32,     // N
    Duration,  // MS
    Count,     // N
    Alarm,     // STATION N
    Serial,    // N M
    FloodChat, // N [TEXT]
    Raw,       // SIGNAL [TYPE:VALUE ...]
    RawDispId  // DISPID [TYPE:VALUE ...]
};

struct CommandInfo
{
    Kind kind;
    Shape shape;
};

const QHash<QString, CommandInfo> &commandTable()
{
    static const QHash<QString, CommandInfo> table = {
        {QStringLiteral("connect"), {Kind::Connect, Shape::Connect}},
        {QStringLiteral("disconnect"), {Kind::Disconnect, Shape::Call}},
        {QStringLiteral("chat"), {Kind::Chat, Shape::Text}},
        {QStringLiteral("station-text"), {Kind::StationText, Shape::Text}},
        {QStringLiteral("rx"), {Kind::Rx, Shape::Switch}},
        {QStringLiteral("tx"), {Kind::Tx, Shape::Switch}},
        {QStringLiteral("ptt"), {Kind::Ptt, Shape::Switch}},
        {QStringLiteral("cd"), {Kind::CarrierDetect, Shape::Switch}},
        {QStringLiteral("peers"), {Kind::Peers, Shape::Int32}},
        {QStringLiteral("callsign"), {Kind::Callsign, Shape::Text}},
        {QStringLiteral("dtmf"), {Kind::Dtmf, Shape::Text}},
        {QStringLiteral("alarm"), {Kind::Alarm, Shape::Alarm}},
        {QStringLiteral("link"), {Kind::Link, Shape::Switch}},
        {QStringLiteral("serial"), {Kind::Serial, Shape::Serial}},
        {QStringLiteral("station-list"), {Kind::StationList, Shape::None}},
        {QStringLiteral("closing"), {Kind::Closing, Shape::None}},
        {QStringLiteral("sleep"), {Kind::Sleep, Shape::Duration}},
        {QStringLiteral("quit"), {Kind::Quit, Shape::None}},
        {QStringLiteral("flood-chat"), {Kind::FloodChat, Shape::FloodChat}},
        {QStringLiteral("flood-connect"), {Kind::FloodConnect, Shape::Count}},
        {QStringLiteral("hang"), {Kind::Hang, Shape::Duration}},
        {QStringLiteral("busy"), {Kind::Busy, Shape::Duration}},
        {QStringLiteral("die"), {Kind::Die, Shape::None}},
        {QStringLiteral("raw"), {Kind::Raw, Shape::Raw}},
        {QStringLiteral("raw-dispid"), {Kind::RawDispId, Shape::RawDispId}},
        {QStringLiteral("echo"), {Kind::Echo, Shape::Text}},
    };
    return table;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QList<QStringView> splitWords(QStringView text)
{
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            words.append(text.mid(start, i - start));
    }
    return words;
}

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

bool parseInteger(QStringView word, qint64 min, qint64 max, qint64 *value)
{
    bool ok = false;
    const qlonglong parsed = word.toLongLong(&ok, 10);
    if (!ok || parsed < min || parsed > max)
        return false;
    *value = parsed;
    return true;
}

QString quoted(QStringView word)
{
    return u'"' + word.toString() + u'"';
}

class LineParser
{
public:
    LineParser(const QString &command, QStringView rest) : m_command(command), m_rest(rest) {}

    SimParseResult run(const CommandInfo &info);

private:
    SimParseResult fail(const QString &message) const;
    bool takeNumber(QStringView word, qint64 min, qint64 max, const char *what, qint64 *value);
    bool takeWord(QStringView word, QString *out);
    bool takeText(QStringView text, QString *out);
    bool parseRawArgument(QStringView word, QVariant *out);
    bool takeRawArguments(const QList<QStringView> &words, QVariantList *out);

    QString m_command;
    QStringView m_rest;
    QString m_error;
};

SimParseResult LineParser::fail(const QString &message) const
{
    SimParseResult result;
    result.status = SimParseResult::Status::Error;
    result.error = m_command + QStringLiteral(": ") + message;
    return result;
}

bool LineParser::takeNumber(QStringView word, qint64 min, qint64 max, const char *what, qint64 *value)
{
    if (parseInteger(word, min, max, value))
        return true;
    m_error = quoted(word) + QStringLiteral(" is not ") + QLatin1String(what) + QStringLiteral(" (")
            + QString::number(min) + QStringLiteral("..") + QString::number(max) + u')';
    return false;
}

bool LineParser::takeWord(QStringView word, QString *out)
{
    *out = SimCommandParser::unescape(word, &m_error);
    return !out->isNull();
}

bool LineParser::takeText(QStringView text, QString *out)
{
    *out = SimCommandParser::unescape(text, &m_error);
    return !out->isNull();
}

bool LineParser::parseRawArgument(QStringView word, QVariant *out)
{
    if (word.size() < 2 || word[1] != u':') {
        m_error = QStringLiteral("argument %1 is not TYPE:VALUE").arg(quoted(word));
        return false;
    }
    const QChar type = word[0];
    QString value;
    if (!takeWord(word.mid(2), &value))
        return false;
    bool ok = true;
    qint64 number = 0;
    switch (type.unicode()) {
    case u's':
        *out = QVariant(value);
        return true;
    case u'b':
        if (value == u"true" || value == u"1")
            *out = QVariant(true);
        else if (value == u"false" || value == u"0")
            *out = QVariant(false);
        else
            ok = false;
        break;
    case u'i':
        ok = parseInteger(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), &number);
        *out = QVariant::fromValue(qint32(number));
        break;
    case u'n':
        ok = parseInteger(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), &number);
        *out = QVariant::fromValue(qint16(number));
        break;
    case u'u':
        ok = parseInteger(value, 0, std::numeric_limits<quint32>::max(), &number);
        *out = QVariant::fromValue(quint32(number));
        break;
    case u'd':
        *out = QVariant(value.toDouble(&ok));
        break;
    default:
        m_error = QStringLiteral("unknown type %1 in %2 (use s, b, i, n, u or d)").arg(quoted(QStringView(&type, 1)), quoted(word));
        return false;
    }
    if (!ok)
        m_error = QStringLiteral("bad value in %1").arg(quoted(word));
    return ok;
}

bool LineParser::takeRawArguments(const QList<QStringView> &words, QVariantList *out)
{
    for (qsizetype i = 1; i < words.size(); ++i) {
        QVariant arg;
        if (!parseRawArgument(words[i], &arg))
            return false;
        out->append(arg);
    }
    return true;
}

SimParseResult LineParser::run(const CommandInfo &info)
{
    SimParseResult result;
    result.status = SimParseResult::Status::Command;
    SimCommand &cmd = result.command;
    cmd.kind = info.kind;
    const QList<QStringView> words = splitWords(m_rest);
    constexpr qint64 int32Min = std::numeric_limits<qint32>::min();
    constexpr qint64 int32Max = std::numeric_limits<qint32>::max();

    auto expectWords = [&](qsizetype min, qsizetype max, const char *usage) {
        if (words.size() >= min && words.size() <= max)
            return true;
        m_error = QStringLiteral("expected ") + QLatin1String(usage);
        return false;
    };

    bool ok = true;
    switch (info.shape) {
    case Shape::None:
        ok = expectWords(0, 0, "no arguments");
        break;
    case Shape::Text:
        ok = takeText(m_rest, &cmd.text);
        break;
    case Shape::Switch:
        ok = expectWords(1, 1, "on or off");
        if (ok && words[0] == u"on") {
            cmd.on = true;
        } else if (ok && words[0] != u"off") {
            m_error = QStringLiteral("expected on or off, got ") + quoted(words[0]);
            ok = false;
        }
        break;
    case Shape::Connect:
        ok = expectWords(1, 3, "CALL [NAME [ADDR]]") && takeWord(words[0], &cmd.call)
          && (words.size() < 2 || takeWord(words[1], &cmd.name))
          && (words.size() < 3 || takeWord(words[2], &cmd.addr));
        break;
    case Shape::Call:
        ok = expectWords(1, 1, "CALL") && takeWord(words[0], &cmd.call);
        break;
    case Shape::Int32:
        ok = expectWords(1, 1, "a number") && takeNumber(words[0], int32Min, int32Max, "a 32-bit number", &cmd.number);
        break;
    case Shape::Duration:
        ok = expectWords(1, 1, "MS") && takeNumber(words[0], 0, int32Max, "a time in ms", &cmd.number);
        break;
    case Shape::Count:
        ok = expectWords(1, 1, "N") && takeNumber(words[0], 0, int32Max, "a count", &cmd.number);
        break;
    case Shape::Alarm:
        ok = expectWords(2, 2, "STATION N") && takeWord(words[0], &cmd.call)
          && takeNumber(words[1], std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(),
                        "a 16-bit status", &cmd.number);
        break;
    case Shape::Serial:
        ok = expectWords(2, 2, "N M") && takeNumber(words[0], int32Min, int32Max, "a 32-bit number", &cmd.number)
          && takeNumber(words[1], int32Min, int32Max, "a 32-bit number", &cmd.number2);
        break;
    case Shape::FloodChat: {
        ok = expectWords(1, std::numeric_limits<qsizetype>::max(), "N [TEXT]")
          && takeNumber(words[0], 0, int32Max, "a count", &cmd.number);
        if (!ok)
            break;
        // The text starts after the count and one separating blank, like any TEXT.
        const qsizetype afterCount = words[0].data() - m_rest.data() + words[0].size();
        if (afterCount < m_rest.size())
            ok = takeText(m_rest.mid(afterCount + 1), &cmd.text);
        else
            cmd.text = QStringLiteral("line");
        break;
    }
    case Shape::Raw: {
        static const QRegularExpression memberName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,254}$"));
        ok = expectWords(1, std::numeric_limits<qsizetype>::max(), "SIGNAL [TYPE:VALUE ...]");
        if (ok && !memberName.match(words[0]).hasMatch()) {
            m_error = quoted(words[0]) + QStringLiteral(" is not a valid D-Bus signal name");
            ok = false;
        }
        if (ok)
            cmd.name = words[0].toString();
        ok = ok && takeRawArguments(words, &cmd.rawArgs);
        break;
    }
    case Shape::RawDispId:
        ok = expectWords(1, std::numeric_limits<qsizetype>::max(), "DISPID [TYPE:VALUE ...]")
          && takeNumber(words[0], int32Min, int32Max, "a 32-bit dispatch identifier", &cmd.number)
          && takeRawArguments(words, &cmd.rawArgs);
        break;
    }
    return ok ? result : fail(m_error);
}

} // namespace

SimParseResult SimCommandParser::parse(QStringView line)
{
    // Scripts written on other systems end their lines with CR LF.
    if (line.endsWith(u'\r'))
        line.chop(1);
    qsizetype start = 0;
    while (start < line.size() && isBlank(line[start]))
        ++start;
    line = line.mid(start);
    if (line.isEmpty() || line.startsWith(u'#'))
        return {};

    qsizetype end = 0;
    while (end < line.size() && !isBlank(line[end]))
        ++end;
    const QString command = line.left(end).toString();
    // Exactly one blank separates the command from TEXT, so leading spaces of a text survive.
    const QStringView rest = end < line.size() ? line.mid(end + 1) : QStringView();

    const auto it = commandTable().constFind(command);
    if (it == commandTable().constEnd()) {
        SimParseResult result;
        result.status = SimParseResult::Status::Error;
        result.error = QStringLiteral("unknown command ") + quoted(command);
        return result;
    }
    return LineParser(command, rest).run(*it);
}

QString SimCommandParser::unescape(QStringView text, QString *error)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\\') {
            out.append(c);
            continue;
        }
        if (i + 1 >= n) {
            *error = QStringLiteral("backslash at end of text (write \\\\ for a backslash)");
            return {};
        }
        const QChar e = text[++i];
        char32_t code = 0;
        switch (e.unicode()) {
        case u'r': out.append(u'\r'); continue;
        case u'n': out.append(u'\n'); continue;
        case u't': out.append(u'\t'); continue;
        case u'\\': out.append(u'\\'); continue;
        case u'x': {
            const int high = i + 1 < n ? hexValue(text[i + 1]) : -1;
            const int low = i + 2 < n ? hexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0) {
                *error = QStringLiteral("\\x needs two hex digits");
                return {};
            }
            code = char32_t(high * 16 + low);
            i += 2;
            break;
        }
        case u'u': {
            qsizetype j = i + 1;
            if (j >= n || text[j] != u'{') {
                *error = QStringLiteral("\\u needs braces: \\u{1F4FB}");
                return {};
            }
            ++j;
            int digits = 0;
            while (j < n && hexValue(text[j]) >= 0 && digits < 7) {
                code = code * 16 + char32_t(hexValue(text[j]));
                ++j;
                ++digits;
            }
            if (digits == 0 || digits > 6 || j >= n || text[j] != u'}') {
                *error = QStringLiteral("\\u{...} needs one to six hex digits and a closing brace");
                return {};
            }
            if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                *error = QStringLiteral("\\u{%1} is not a Unicode scalar value").arg(uint(code), 0, 16);
                return {};
            }
            i = j;
            break;
        }
        default:
            *error = QStringLiteral("unknown escape \"\\%1\"").arg(e);
            return {};
        }
        // libdbus takes strings as C strings, so a NUL would silently cut the text short.
        if (code == 0) {
            *error = QStringLiteral("NUL cannot travel in a D-Bus string");
            return {};
        }
        const char32_t codes[] = {code};
        out.append(QString::fromUcs4(codes, 1));
    }
    // A null result signals failure, so an empty text must come back empty but not null.
    if (out.isNull())
        out = QStringLiteral("");
    return out;
}

QString SimCommandParser::escapeLine(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out.append(u"\\\\");
        else if (c == u'\r')
            out.append(u"\\r");
        else if (c == u'\n')
            out.append(u"\\n");
        else
            out.append(c);
    }
    return out;
}

QString SimCommandParser::describeError(int lineNumber, QStringView line, const QString &error)
{
    QString message = QStringLiteral("line ") + QString::number(lineNumber) + QStringLiteral(": ") + error;
    const QStringView trimmed = line.trimmed();
    // A lone unknown word is already quoted in full by the error.
    if (trimmed.contains(u' ') || trimmed.contains(u'\t') || !error.startsWith(QStringLiteral("unknown command")))
        message += QStringLiteral(" in \"") + escapeLine(trimmed) + u'"';
    return message;
}
