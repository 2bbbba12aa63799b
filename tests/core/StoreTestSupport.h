// Helpers shared by the store's tests: sample records, record printing and comparison,
// a counter of file saves, and the fixture folder.
#pragma once

#include "BaseAppVar.h"
#include "Regions.h"
#include "TestFolder.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <ostream>
#include <string>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

inline const QString kTaskFile = QStringLiteral("task.qrn");
inline const QString kCategoryFile = QStringLiteral("category.qrn");
inline const QString kSettingFile = QStringLiteral("setting.qrn");
inline const QStringList kDataFiles{kTaskFile, kCategoryFile, kSettingFile};

inline QString Fixture(const QString& name)
{
    return QDir(QStringLiteral(TASKWICK_TEST_DATA)).filePath(name);
}

inline QByteArray ReadFixture(const QString& name)
{
    QFile f(Fixture(name));
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing fixture " << name.toStdString();
    return f.readAll();
}

inline TTaskInfo MakeTask(const QString& id, const QString& name, const QString& category)
{
    TTaskInfo t;
    t.ID = id;
    t.TaskName = name;
    t.TaskCategoryID = category;
    t.TaskPriorityID = QStringLiteral("1");
    t.TaskContent = QStringLiteral("about ") + name;
    t.TaskDueDate = QStringLiteral("none");
    t.TaskState = QStringLiteral("false");
    return t;
}

inline TCategoryInfo MakeCategory(const QString& id, const QString& name, int icon)
{
    return {id, name, icon};
}

inline bool operator==(const TReminderInfo& a, const TReminderInfo& b)
{
    return a.State == b.State && a.Date == b.Date && a.Time == b.Time;
}

inline bool operator==(const TTaskInfo& a, const TTaskInfo& b)
{
    return a.ID == b.ID && a.TaskName == b.TaskName && a.TaskCategoryID == b.TaskCategoryID &&
           a.TaskPriorityID == b.TaskPriorityID && a.TaskContent == b.TaskContent &&
           a.TaskDueDate == b.TaskDueDate && a.MarkFormState == b.MarkFormState &&
           a.MarkFormTop == b.MarkFormTop && a.MarkFormLeft == b.MarkFormLeft && a.Reminder == b.Reminder &&
           a.TaskState == b.TaskState;
}

inline bool operator==(const TCategoryInfo& a, const TCategoryInfo& b)
{
    return a.ID == b.ID && a.CategoryName == b.CategoryName && a.CategoryIconID == b.CategoryIconID;
}

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Element by element: the printer of a list would print each text as a list of characters.
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << "{";
    for (const QString& s : list)
        *os << " \"" << s.toStdString() << "\"";
    *os << " }";
}

// A table's case prints as its name; `using CaseNames::PrintTo;` beside the table's type.
namespace CaseNames {
template <typename T>
requires requires(const T& c)
{
    std::string(c.Name);
}
void PrintTo(const T& c, std::ostream* os)
{
    *os << c.Name;
}
} // namespace CaseNames

inline void PrintTo(const TTaskInfo& t, std::ostream* os)
{
    *os << "{" << t.ID.toStdString() << " name=" << t.TaskName.toStdString()
        << " category=" << t.TaskCategoryID.toStdString() << " priority=" << t.TaskPriorityID.toStdString()
        << " due=" << t.TaskDueDate.toStdString() << " note=" << t.MarkFormState << "@" << t.MarkFormTop
        << "," << t.MarkFormLeft << " reminder=" << t.Reminder.State << "/" << t.Reminder.Date << "/"
        << t.Reminder.Time << " state=" << t.TaskState.toStdString() << "}";
}

inline void PrintTo(const TCategoryInfo& c, std::ostream* os)
{
    *os << "{" << c.ID.toStdString() << " " << c.CategoryName.toStdString() << " icon=" << c.CategoryIconID
        << "}";
}

// The (name, text) pairs of the children of the record element `id` of a data file, in file
// order; with an empty `id` those of the root (the setting file's elements).
using ElementTexts = QList<QPair<QString, QString>>;
inline ElementTexts ChildTexts(const QByteArray& file, const QString& id = QString())
{
    pugi::xml_document doc;
    // As the store reads: line ends and a value of blanks stay as they are.
    EXPECT_TRUE(doc.load_buffer(file.constData(), static_cast<size_t>(file.size()),
                                (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata_single));
    pugi::xml_node node = doc.document_element();
    if (!id.isEmpty())
        node = node.child(id.toUtf8().constData());
    ElementTexts texts;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        texts.append({QString::fromUtf8(child.name()), QString::fromUtf8(child.text().get())});
    return texts;
}

// The text of one child element.
inline QString ChildText(const QByteArray& file, const QString& id, const QString& name)
{
    for (const auto& [child, text] : ChildTexts(file, id))
        if (child == name)
            return text;
    return QStringLiteral("<missing>");
}

inline QStringList Ids(const TTaskInfoList& list)
{
    QStringList ids;
    for (const TTaskInfo& t : list)
        ids.append(t.ID);
    return ids;
}

// A task element as a hand-edited file would hold it: every child with a plain value, and
// `changes` replacing the text of the children it names.
using ChildChanges = std::vector<std::pair<const char*, const char*>>;
inline QByteArray TaskElement(const QString& id, const ChildChanges& changes = {})
{
    std::vector<std::pair<const char*, const char*>> children{{"taskname", "Stored"},
                                                              {"taskcategoryid", "category20081124202715129"},
                                                              {"taskpriorityid", "1"},
                                                              {"taskcontent", ""},
                                                              {"taskduedate", "1/29/2009"},
                                                              {"taskreminderstate", "true"},
                                                              {"taskremindertime", "9:05:00 AM"},
                                                              {"taskreminderdate", "1/29/2009"},
                                                              {"taskstate", "false"},
                                                              {"markformstate", "true"},
                                                              {"markformtop", "120"},
                                                              {"markformleft", "300"}};
    for (const auto& [name, text] : changes)
        for (auto& child : children)
            if (std::strcmp(child.first, name) == 0)
                child.second = text;
    QByteArray xml = "<" + id.toUtf8() + ">";
    for (const auto& [name, text] : children)
        xml += QByteArray("<") + name + ">" + text + "</" + name + ">";
    return xml + "</" + id.toUtf8() + ">\r\n";
}

inline QByteArray TaskFileOf(const QList<QByteArray>& elements)
{
    return "<tasklist>\r\n" + elements.join() + "</tasklist>\r\n";
}

// Counts how often each file of a folder is replaced or created, as a save does it.
class SaveCounter
{
public:
    explicit SaveCounter(const QString& folder)
        : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          FWatch(inotify_add_watch(FFd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO))
    {
        if (FFd < 0 || FWatch < 0)
            ADD_FAILURE() << "cannot watch " << folder.toStdString() << ": " << strerror(errno);
    }
    ~SaveCounter()
    {
        if (FFd >= 0)
            close(FFd);
    }
    SaveCounter(const SaveCounter&) = delete;
    SaveCounter& operator=(const SaveCounter&) = delete;

    // The saves of `name` since the counter was made.
    int Saves(const QString& name)
    {
        Drain();
        return FCounts.value(name);
    }

private:
    void Drain()
    {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t n = read(FFd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    ++FCounts[QFile::decodeName(event->name)];
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    int FFd;
    int FWatch;
    QHash<QString, int> FCounts;
};

// Each data file's bytes and modification time, with the times first set into the past.
inline QHash<QString, FileStamp> StampDataFiles(const TestFolder& folder)
{
    QHash<QString, FileStamp> stamps;
    for (const QString& name : kDataFiles) {
        EXPECT_TRUE(folder.SetOldTime(name)) << name.toStdString();
        stamps.insert(name, FileStamp::Of(folder, name));
    }
    return stamps;
}

// Sets the immutable attribute of a file or folder for as long as the guard lives. Unlike
// permissions it stops writes by root too; it needs a file system that supports it.
class ImmutableGuard
{
public:
    explicit ImmutableGuard(const QString& path) : FPath(QFile::encodeName(path)) { FSet = Change(true); }
    ~ImmutableGuard() { Release(); }
    ImmutableGuard(const ImmutableGuard&) = delete;
    ImmutableGuard& operator=(const ImmutableGuard&) = delete;

    bool IsSet() const { return FSet; }
    const std::string& Reason() const { return FReason; }
    void Release()
    {
        if (FSet)
            FSet = !Change(false);
    }

private:
    bool Change(bool on)
    {
        const int fd = open(FPath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        int flags = 0;
        bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (!ok)
            FReason = std::string("cannot set the immutable attribute: ") + strerror(errno);
        if (fd >= 0)
            close(fd);
        return ok;
    }

    QByteArray FPath;
    bool FSet = false;
    std::string FReason;
};

// Whether permission bits stop this process from creating a file in a folder of mode 0555
// (they do not stop root).
inline bool PermissionsStopWrites(const QString& scratch)
{
    const QByteArray dir = QFile::encodeName(scratch + QStringLiteral("/probe"));
    if (mkdir(dir.constData(), 0555) != 0)
        return false;
    const QByteArray file = dir + "/file";
    const int fd = open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        close(fd);
        unlink(file.constData());
    }
    rmdir(dir.constData());
    return fd < 0;
}
