#include "BaseVar.h"

#include "uFunction.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <cstring>
#include <elf.h>

RecSoftInfo SoftInfo;

namespace {

// The string table buffer holds 254 characters with the terminator: 253 of text.
QString CutEntry(QString text)
{
    constexpr int kMax = 253;
    if (text.size() > kMax) {
        text.truncate(kMax);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

// The note the build writes into the executable: name "Taskwick", type 1, the version text.
constexpr char kNoteName[] = "Taskwick";
constexpr quint32 kNoteType = 1;

// Reads the note through a read-only view of the file: only the pages of the ELF header,
// the section table and the note sections are touched, never the whole program.
struct FileView
{
    const char* Data;
    qsizetype Length;
    qsizetype size() const { return Length; }
    const char* constData() const { return Data; }
    QByteArray mid(qsizetype at, qsizetype n) const { return QByteArray(Data + at, n); }
};

template <typename Ehdr, typename Shdr, typename Nhdr> QString ReadVersionNote(const FileView& file)
{
    if (file.size() < static_cast<qsizetype>(sizeof(Ehdr)))
        return QString();
    Ehdr header;
    std::memcpy(&header, file.constData(), sizeof header);
    if (header.e_shentsize != sizeof(Shdr))
        return QString();
    for (quint64 i = 0; i < header.e_shnum; ++i) {
        const quint64 at = header.e_shoff + i * sizeof(Shdr);
        if (at + sizeof(Shdr) > static_cast<quint64>(file.size()))
            return QString();
        Shdr section;
        std::memcpy(&section, file.constData() + at, sizeof section);
        if (section.sh_type != SHT_NOTE || section.sh_offset + section.sh_size > static_cast<quint64>(file.size()))
            continue;
        quint64 pos = section.sh_offset;
        const quint64 end = section.sh_offset + section.sh_size;
        while (pos + sizeof(Nhdr) <= end) {
            Nhdr note;
            std::memcpy(&note, file.constData() + pos, sizeof note);
            const quint64 nameAt = pos + sizeof(Nhdr);
            const quint64 descAt = nameAt + ((quint64(note.n_namesz) + 3) & ~quint64(3));
            const quint64 next = descAt + ((quint64(note.n_descsz) + 3) & ~quint64(3));
            if (next > end)
                break;
            if (note.n_type == kNoteType && note.n_namesz == sizeof kNoteName &&
                std::memcmp(file.constData() + nameAt, kNoteName, sizeof kNoteName) == 0) {
                const QByteArray desc = file.mid(static_cast<qsizetype>(descAt), note.n_descsz);
                return QString::fromUtf8(desc.left(desc.indexOf('\0') < 0 ? desc.size() : desc.indexOf('\0')));
            }
            pos = next;
        }
    }
    return QString();
}

} // namespace

RecSoftInfo LoadSoftInfo(const QString& libraryPath, const QString& executablePath)
{
    QHash<int, QString> entries;
    QFile file(libraryPath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1Char('#')))
                continue;
            const int eq = line.indexOf(QLatin1Char('='));
            bool ok = false;
            const int number = eq > 0 ? line.left(eq).trimmed().toInt(&ok) : 0;
            if (ok && !entries.contains(number)) {
                QString text = line.mid(eq + 1);
                if (text.endsWith(QLatin1Char('\r')))
                    text.chop(1);
                entries.insert(number, CutEntry(text));
            }
        }
    }
    RecSoftInfo info;
    info.SoftName = entries.value(1);
    info.HomePage = entries.value(4);
    info.EMail = entries.value(5);
    info.SoftVersion = GetFileVersionText(executablePath);
    return info;
}

QString GetFileVersionText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < EI_NIDENT)
        return QString();
    QByteArray copy; // files that cannot be mapped (a pipe, /proc) are read whole
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        copy = file.readAll();
    const FileView data{mapped ? reinterpret_cast<const char*>(mapped) : copy.constData(),
                        mapped ? static_cast<qsizetype>(file.size()) : copy.size()};
    if (data.size() < EI_NIDENT || std::memcmp(data.constData(), ELFMAG, SELFMAG) != 0 ||
        data.Data[EI_DATA] != ELFDATA2LSB)
        return QString();
    QString version;
    if (data.Data[EI_CLASS] == ELFCLASS64)
        version = ReadVersionNote<Elf64_Ehdr, Elf64_Shdr, Elf64_Nhdr>(data);
    else if (data.Data[EI_CLASS] == ELFCLASS32)
        version = ReadVersionNote<Elf32_Ehdr, Elf32_Shdr, Elf32_Nhdr>(data);
    if (version.isEmpty())
        return QString();
    QStringList parts;
    SplitString(version, QStringLiteral("."), parts);
    return QStringList(parts.mid(0, 3)).join(QLatin1Char('.'));
}
