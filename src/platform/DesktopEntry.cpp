#include "DesktopEntry.h"

#include <QDir>

#include <algorithm>

namespace DesktopEntry {

namespace {

bool IsReserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

bool IsEscapedInQuotes(QChar c)
{
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

// Key file string escapes: the only control characters a value can carry are these three.
std::optional<QString> EscapeString(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                return std::nullopt;
            out += c;
        }
    }
    return out;
}

std::optional<QString> UnescapeString(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i].unicode()) {
        case u's': out += u' '; break;
        case u'n': out += u'\n'; break;
        case u't': out += u'\t'; break;
        case u'r': out += u'\r'; break;
        case u'\\': out += u'\\'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

// Field codes in one unquoted word: "%%" is a percent sign; a word that is one field code
// alone stands for files, addresses or the entry's own data, none of which an autostart passes.
std::optional<QString> ExpandFieldCodes(const QString& word, bool* dropped)
{
    static const QString codes = QStringLiteral("fFuUdDnNickvm");
    *dropped = false;
    if (word.size() == 2 && word[0] == u'%' && codes.contains(word[1])) {
        *dropped = true;
        return QString();
    }
    QString out;
    out.reserve(word.size());
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] != u'%') {
            out += word[i];
            continue;
        }
        if (i + 1 < word.size() && word[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        return std::nullopt;
    }
    return out;
}

} // namespace

QString QuoteExecArgument(const QString& argument)
{
    const bool quote = argument.isEmpty() || std::any_of(argument.begin(), argument.end(), IsReserved);
    QString out;
    out.reserve(argument.size() + 4);
    if (quote)
        out += u'"';
    for (const QChar c : argument) {
        if (quote && IsEscapedInQuotes(c))
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    if (quote)
        out += u'"';
    return out;
}

std::optional<QString> ExecValue(const QStringList& commandLine)
{
    if (commandLine.isEmpty())
        return std::nullopt;
    QStringList words;
    for (const QString& argument : commandLine)
        words << QuoteExecArgument(argument);
    return EscapeString(words.join(u' '));
}

std::optional<QStringList> SplitExecValue(const QString& value)
{
    const std::optional<QString> line = UnescapeString(value);
    if (!line)
        return std::nullopt;
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = line->size();
    while (i < n) {
        if ((*line)[i] == u' ') {
            ++i;
            continue;
        }
        QString word;
        if ((*line)[i] == u'"') {
            bool closed = false;
            for (++i; i < n; ++i) {
                const QChar c = (*line)[i];
                if (c == u'"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == u'\\') {
                    if (i + 1 == n || !IsEscapedInQuotes((*line)[i + 1]))
                        return std::nullopt;
                    word += (*line)[++i];
                } else {
                    word += c;
                }
            }
            // A quoted word is quoted in whole: a space or the end must follow.
            if (!closed || (i < n && (*line)[i] != u' '))
                return std::nullopt;
        } else {
            for (; i < n && (*line)[i] != u' '; ++i) {
                if (IsReserved((*line)[i]))
                    return std::nullopt;
                word += (*line)[i];
            }
        }
        bool dropped = false;
        const std::optional<QString> expanded = ExpandFieldCodes(word, &dropped);
        if (!expanded)
            return std::nullopt;
        if (!dropped)
            words << *expanded;
    }
    if (words.isEmpty())
        return std::nullopt;
    return words;
}

QByteArray AutostartEntryText(const QString& name, const QString& execValue, const QString& icon)
{
    // Name and Icon are written from fixed texts of the program; only Exec carries a path.
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n");
    text += QStringLiteral("Name=") + name + u'\n';
    text += QStringLiteral("Exec=") + execValue + u'\n';
    if (!icon.isEmpty())
        text += QStringLiteral("Icon=") + icon + u'\n';
    text += QStringLiteral("Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n");
    text += QStringLiteral("X-GNOME-Autostart-Delay=%1\n").arg(AutostartDelaySeconds);
    return text.toUtf8();
}

QString ConfigHome(const QString& xdgConfigHome, const QString& home)
{
    if (!xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome))
        return QDir::cleanPath(xdgConfigHome);
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

} // namespace DesktopEntry
