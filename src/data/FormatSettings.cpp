#include "FormatSettings.h"

#include "Errors.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>
#include <QVarLengthArray>

namespace {

struct Token
{
    QString Text;
    bool Pattern = false; // a run of one pattern letter, else literal text
};

bool IsPatternLetter(QChar c)
{
    return QStringLiteral("dMyhHmszapAPt").contains(c);
}

// Splits a Qt date/time pattern into runs of one letter and literal text ('' quotes a quote).
QVector<Token> Tokenize(const QString& pattern)
{
    QVector<Token> tokens;
    auto addLiteral = [&tokens](QChar c) {
        if (tokens.isEmpty() || tokens.last().Pattern)
            tokens.append({QString(), false});
        tokens.last().Text.append(c);
    };
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            if (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char('\'')) {
                addLiteral(c);
                i += 2;
                continue;
            }
            int j = i + 1;
            while (j < pattern.size()) {
                if (pattern.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < pattern.size() && pattern.at(j + 1) == QLatin1Char('\'')) {
                        addLiteral(QLatin1Char('\''));
                        j += 2;
                        continue;
                    }
                    break;
                }
                addLiteral(pattern.at(j));
                ++j;
            }
            i = j + 1;
        } else if (IsPatternLetter(c)) {
            int j = i;
            // "AP" and "ap" are one token, as are runs of the same letter.
            if ((c == QLatin1Char('A') || c == QLatin1Char('a')) && j + 1 < pattern.size() &&
                (pattern.at(j + 1) == QLatin1Char('P') || pattern.at(j + 1) == QLatin1Char('p')))
                j += 2;
            else
                while (j < pattern.size() && pattern.at(j) == c)
                    ++j;
            tokens.append({pattern.mid(i, j - i), true});
            i = j;
        } else {
            addLiteral(c);
            ++i;
        }
    }
    return tokens;
}

bool IsAmPmToken(const QString& t)
{
    return t.compare(QLatin1String("ap"), Qt::CaseInsensitive) == 0 ||
           t.compare(QLatin1String("a"), Qt::CaseInsensitive) == 0;
}

QChar FirstSeparator(const QString& pattern, QChar fallback)
{
    const QVector<Token> tokens = Tokenize(pattern);
    for (int i = 1; i < tokens.size(); ++i)
        if (!tokens[i].Pattern && tokens[i - 1].Pattern && !IsAmPmToken(tokens[i - 1].Text))
            for (QChar c : tokens[i].Text)
                if (!c.isSpace())
                    return c;
    return fallback;
}

QString Translate(const char* text)
{
    return QCoreApplication::translate("Taskwick", text);
}

[[noreturn]] void ThrowConvert(const char* message, const QString& text)
{
    throw EConvertError(Translate(message).arg(text));
}

} // namespace

namespace {

// A pattern written back from its tokens, literal text quoted where it holds letters.
QString Untokenize(const QVector<Token>& tokens)
{
    QString out;
    for (const Token& token : tokens) {
        if (token.Pattern) {
            out += token.Text;
            continue;
        }
        QString quoted = token.Text;
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        bool plain = true;
        for (QChar c : quoted)
            if (c.isLetter())
                plain = false;
        out += plain ? quoted : QLatin1Char('\'') + quoted + QLatin1Char('\'');
    }
    return out;
}

} // namespace

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale)
{
    TFormatSettings fmt;
    if (locale.language() == QLocale::C) {
        // The locale of no region: dates and times as ISO 8601 writes them.
        fmt.ShortDateFormat = QStringLiteral("yyyy-MM-dd");
        fmt.DateSeparator = QLatin1Char('-');
        fmt.LongTimeFormat = QStringLiteral("HH:mm:ss");
        fmt.TimeSeparator = QLatin1Char(':');
        return fmt;
    }
    // A short date is numbers only: month and day names become their numbers.
    QVector<Token> date = Tokenize(locale.dateFormat(QLocale::ShortFormat));
    // Years are written in four digits, so no date is ever read into the wrong century.
    for (Token& token : date) {
        if (token.Pattern && token.Text.size() > 2 &&
            (token.Text.at(0) == QLatin1Char('M') || token.Text.at(0) == QLatin1Char('d')))
            token.Text = token.Text.left(1).repeated(2);
        if (token.Pattern && token.Text.at(0) == QLatin1Char('y'))
            token.Text = QStringLiteral("yyyy");
    }
    fmt.ShortDateFormat = Untokenize(date);
    // The long time format without its time-zone part ("t"), and brackets left empty by it.
    QVector<Token> time;
    for (const Token& token : Tokenize(locale.timeFormat(QLocale::LongFormat)))
        if (!(token.Pattern && token.Text.startsWith(QLatin1Char('t'))))
            time.append(token);
    QString longTime = Untokenize(time);
    for (const char* empty : {"()", "[]", "( )"})
        longTime.remove(QLatin1String(empty));
    fmt.LongTimeFormat = longTime.trimmed();
    fmt.DateSeparator = FirstSeparator(fmt.ShortDateFormat, QLatin1Char('/'));
    fmt.TimeSeparator = FirstSeparator(fmt.LongTimeFormat, QLatin1Char(':'));
    fmt.TimeAMString = locale.amText();
    fmt.TimePMString = locale.pmText();
    return fmt;
}

TFormatSettings TFormatSettings::System()
{
    return FromLocale(QLocale::system());
}

QString BoolToStr(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool StrToBool(const QString& text)
{
    return text == QLatin1String("true");
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

qint32 StrToInt(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = !t.isEmpty();
    for (int i = 0; ok && i < t.size(); ++i) {
        const QChar c = t.at(i);
        ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
             (i == 0 && t.size() > 1 && (c == QLatin1Char('-') || c == QLatin1Char('+')));
    }
    const qint32 value = ok ? t.toInt(&ok, 10) : 0;
    if (!ok)
        ThrowConvert("'%1' is not a valid integer value", text);
    return value;
}

QString DateToStr(TDateTime value, const TFormatSettings& fmt)
{
    return QLocale::c().toString(TDateTimeToDate(value), fmt.ShortDateFormat);
}

QString TimeToStr(TDateTime value, const TFormatSettings& fmt)
{
    const QTime time = TDateTimeToTime(value);
    const QVector<Token> tokens = Tokenize(fmt.LongTimeFormat);
    bool twelveHour = false;
    for (const Token& t : tokens)
        if (t.Pattern && IsAmPmToken(t.Text))
            twelveHour = true;
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    QString out;
    for (const Token& t : tokens) {
        if (!t.Pattern) {
            out += t.Text;
            continue;
        }
        const QChar c = t.Text.at(0);
        if (c == QLatin1Char('h') || c == QLatin1Char('H')) {
            int h = time.hour();
            if (c == QLatin1Char('h') && twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            out += t.Text.size() >= 2 ? two(h) : QString::number(h);
        } else if (c == QLatin1Char('m')) {
            out += t.Text.size() >= 2 ? two(time.minute()) : QString::number(time.minute());
        } else if (c == QLatin1Char('s')) {
            out += t.Text.size() >= 2 ? two(time.second()) : QString::number(time.second());
        } else if (IsAmPmToken(t.Text)) {
            const QString marker = time.hour() < 12 ? fmt.TimeAMString : fmt.TimePMString;
            out += t.Text.at(0).isLower() ? marker.toLower() : marker;
        }
        // milliseconds ('z') and time zones ('t') are never written
    }
    return out.trimmed();
}

namespace {

// Reads the numbers of `text` in the order of the number fields of `pattern` (letters in
// `fields`). The text between numbers must be the pattern's own text there, or `separator`.
// Returns the fields' letters with their values and digit counts; empty when it does not fit.
struct Field
{
    QChar Letter;
    int Value = 0;
    int Digits = 0;
};

// The number fields of a pattern (letters in `fields`) and the literal text before, between
// and after them, each without surrounding blanks.
struct PatternFields
{
    QVector<QChar> Letters;
    QStringList Literals;
};

// Patterns are few and read again and again (every reminder date and time of the task file),
// so each is taken apart once.
const PatternFields& FieldsOf(const QString& pattern, const QString& fields)
{
    thread_local QHash<QString, PatternFields> cache;
    const QString key = pattern + QChar(0) + fields;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    PatternFields parts;
    parts.Literals.append(QString());
    for (const Token& t : Tokenize(pattern)) {
        if (t.Pattern && fields.contains(t.Text.at(0)) && !IsAmPmToken(t.Text)) {
            parts.Letters.append(t.Text.at(0));
            parts.Literals.append(QString());
        } else if (!t.Pattern) {
            parts.Literals.last() += t.Text;
        }
    }
    for (QString& literal : parts.Literals)
        literal = literal.trimmed();
    return *cache.insert(key, parts);
}

QVector<Field> ReadFields(const QString& text, const QString& pattern, const QString& fields, QChar separator)
{
    const PatternFields& parts = FieldsOf(pattern, fields);
    const QVector<QChar>& letters = parts.Letters;
    auto literal = [&parts](qsizetype i) {
        return i < parts.Literals.size() ? QStringView(parts.Literals[i]) : QStringView();
    };
    // The text's digit groups and the stretches of text before, between and after them.
    QVector<Field> found;
    found.reserve(letters.size() + 1);
    QVarLengthArray<QStringView, 8> chunks;
    const QStringView all(text);
    qsizetype chunkStart = 0;
    for (qsizetype i = 0; i < all.size();) {
        if (all[i].isDigit() && all[i].unicode() < 128) {
            qsizetype j = i;
            while (j < all.size() && all[j].isDigit() && all[j].unicode() < 128)
                ++j;
            if (j - i > 4)
                return {};
            chunks.append(all.sliced(chunkStart, i - chunkStart));
            found.append({QChar(), all.sliced(i, j - i).toInt(), static_cast<int>(j - i)});
            chunkStart = i = j;
        } else {
            ++i;
        }
    }
    chunks.append(all.sliced(chunkStart));
    if (found.isEmpty() || found.size() > letters.size())
        return {};
    auto fits = [separator](QStringView chunk, QStringView literal, bool inner) {
        const QStringView c = chunk.trimmed();
        return c == literal || (inner && c.size() == 1 && c[0] == separator) || (!inner && c.isEmpty());
    };
    const qsizetype last = chunks.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const bool inner = i > 0 && i < last;
        const QStringView expected = i == last ? literal(letters.size()) : literal(i);
        if (!fits(chunks[i], expected, inner) && !(i == last && fits(chunks[i], literal(i), false)))
            return {};
    }
    for (qsizetype i = 0; i < found.size(); ++i)
        found[i].Letter = letters[i];
    return found;
}

} // namespace

TDateTime StrToDate(const QString& text, const TFormatSettings& fmt)
{
    QVector<Field> fields = ReadFields(text, fmt.ShortDateFormat, QStringLiteral("dMy"), fmt.DateSeparator);
    int day = 0, month = 0, year = 0, yearDigits = 0;
    if (fields.size() == 2 && fields[0].Letter == QLatin1Char('y')) // "yyyy/M/d" typed as "M/d"
        fields = {{QLatin1Char('M'), fields[0].Value, fields[0].Digits}, {QLatin1Char('d'), fields[1].Value, 0}};
    if (fields.size() < 2)
        ThrowConvert("'%1' is not a valid date", text);
    for (const Field& f : fields) {
        if (f.Letter == QLatin1Char('d'))
            day = f.Value;
        else if (f.Letter == QLatin1Char('M'))
            month = f.Value;
        else {
            year = f.Value;
            yearDigits = f.Digits;
        }
    }
    if (fields.size() == 2 && (day == 0 || month == 0))
        ThrowConvert("'%1' is not a valid date", text);
    if (yearDigits == 0) { // no year given: this year (reading the clock is slow, so only then)
        year = QDate::currentDate().year();
    } else if (yearDigits <= 2) {
        // The hundred years that reach 49 years past the pivot year.
        const int pivot = fmt.TwoDigitYearPivot;
        year += (pivot / 100) * 100;
        if (year > pivot + 49)
            year -= 100;
        else if (year <= pivot - 51)
            year += 100;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        ThrowConvert("'%1' is not a valid date", text);
    return DateToTDateTime(date);
}

TDateTime StrToTime(const QString& text, const TFormatSettings& fmt)
{
    QString rest = text.trimmed();
    int meridiem = 0; // 1 AM, 2 PM
    const QString markers[] = {fmt.TimeAMString, fmt.TimePMString, QStringLiteral("AM"), QStringLiteral("PM")};
    for (int i = 0; i < 4 && meridiem == 0; ++i) {
        const QString& m = markers[i];
        if (m.isEmpty())
            continue;
        if (rest.endsWith(m, Qt::CaseInsensitive)) {
            rest.chop(m.size());
            meridiem = i % 2 + 1;
        } else if (rest.startsWith(m, Qt::CaseInsensitive)) {
            rest.remove(0, m.size());
            meridiem = i % 2 + 1;
        }
    }
    // Without its AM/PM field the pattern's hours, minutes and seconds remain.
    const QVector<Field> fields = ReadFields(rest, fmt.LongTimeFormat, QStringLiteral("hHms"), fmt.TimeSeparator);
    if (fields.size() < 2)
        ThrowConvert("'%1' is not a valid time", text);
    int values[3] = {0, 0, 0};
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].Digits > 2)
            ThrowConvert("'%1' is not a valid time", text);
        values[i] = fields[i].Value;
    }
    int hour = values[0];
    if (meridiem != 0) {
        if (hour < 1 || hour > 12)
            ThrowConvert("'%1' is not a valid time", text);
        hour = hour % 12 + (meridiem == 2 ? 12 : 0);
    }
    const QTime time(hour, values[1], values[2]);
    if (!time.isValid())
        ThrowConvert("'%1' is not a valid time", text);
    return TimeToTDateTime(time);
}

TDateTime StrToDateTime(const QString& text, const TFormatSettings& fmt)
{
    const QString t = text.trimmed();
    // The date ends at a blank; try each blank, since some date formats hold blanks themselves.
    for (int i = t.indexOf(QLatin1Char(' ')); i > 0; i = t.indexOf(QLatin1Char(' '), i + 1)) {
        try {
            const TDateTime date = StrToDate(t.left(i), fmt);
            const TDateTime time = StrToTime(t.mid(i + 1), fmt);
            return date + time;
        } catch (const EConvertError&) {
        }
    }
    ThrowConvert("'%1' is not a valid date and time", text);
}
