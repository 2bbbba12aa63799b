#include "uXMLOperate.h"

#include "Errors.h"
#include "SaveFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstring>

TXMLOperation* XMLOperation = nullptr;

namespace {

const char* const kDefaultTaskFile = "<tasklist>\r\n"
                                     "</tasklist>\r\n";

const char* const kDefaultCategoryFile =
    "<categorylist>\r\n"
    "<category20081124202715129><categoryname>Personal</categoryname><categoryiconid>4</categoryiconid>"
    "</category20081124202715129>\r\n"
    "</categorylist>\r\n";

const char* const kDefaultSettingFile = "<setting>\r\n"
                                        "<startwithwindows>true</startwithwindows>\r\n"
                                        "<minimizeonstart>false</minimizeonstart>\r\n"
                                        "<alwaysontop>false</alwaysontop>\r\n"
                                        "<alphablendstate>false</alphablendstate>\r\n"
                                        "<alphablendvalue>220</alphablendvalue>\r\n"
                                        "<markformalphablendstate>true</markformalphablendstate>\r\n"
                                        "<markformalphablendvalue>220</markformalphablendvalue>\r\n"
                                        "<donetaskputinbottom>false</donetaskputinbottom>\r\n"
                                        "<sortbycolumn>default</sortbycolumn>\r\n"
                                        "<displayfilter>all</displayfilter>\r\n"
                                        "</setting>\r\n";

QString Translate(const char* text)
{
    return QCoreApplication::translate("Taskwick", text);
}

// Keeps only characters that XML 1.0 can hold: tab, line feed, carriage return, and the
// rest from U+0020 on, without the non-characters U+FFFE and U+FFFF and unpaired surrogates.
QByteArray XmlText(const QString& text)
{
    auto allowed = [](char32_t c) {
        return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
               (c >= 0x10000 && c <= 0x10FFFF);
    };
    bool clean = true;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xFFFE) {
            clean = false;
            break;
        }
    if (clean)
        return text.toUtf8();
    QString kept;
    kept.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept.append(c);
            kept.append(text.at(++i));
        } else if (!c.isSurrogate() && allowed(c.unicode())) {
            kept.append(c);
        }
    }
    return kept.toUtf8();
}

QString ReadChild(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.child(name).text().get());
}

void SetChild(pugi::xml_node node, const char* name, const QString& value)
{
    pugi::xml_node child = node.child(name);
    if (!child)
        child = node.append_child(name);
    child.text().set(XmlText(value).constData());
}

struct ByteWriter : pugi::xml_writer
{
    QByteArray Data;
    void write(const void* data, size_t size) override
    {
        Data.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

} // namespace

// One loaded data file, with an index from element name to the first element of that name.
struct TXMLOperation::TDocument
{
    struct Entry
    {
        pugi::xml_node First;
        int Count = 0;
    };

    QString Path;
    qsizetype FileSize = 0; // as loaded or last saved: the buffer of the next save is made that large
    pugi::xml_document Doc;
    QHash<QByteArray, Entry> Index;

    pugi::xml_node Root() const { return Doc.document_element(); }

    void Load()
    {
        QFile file(Path);
        if (!file.open(QIODevice::ReadOnly))
            throw EFileError(Translate("Cannot read '%1': %2").arg(QDir::toNativeSeparators(Path), file.errorString()));
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw EFileError(Translate("Cannot read '%1': %2").arg(QDir::toNativeSeparators(Path), file.errorString()));
        FileSize = data.size();
        // Line ends inside values stay as they were written. The file is parsed as a fragment so
        // that what stands beside the root can be checked: otherwise the parser drops text after
        // the root and takes a second root without complaint, and a well-formed file has neither.
        const pugi::xml_parse_result result = Doc.load_buffer(
            data.constData(), static_cast<size_t>(data.size()),
            (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_ws_pcdata_single | pugi::parse_fragment,
            pugi::encoding_auto);
        auto malformed = [this](const QString& reason, qint64 offset) {
            return EFileError(Translate("'%1' is not a well-formed data file: %2 (at byte %3)")
                                  .arg(QDir::toNativeSeparators(Path), reason)
                                  .arg(offset));
        };
        if (!result)
            throw malformed(QString::fromUtf8(result.description()), result.offset);
        pugi::xml_node root;
        for (pugi::xml_node node = Doc.first_child(); node; node = node.next_sibling()) {
            if (node.type() == pugi::node_element) {
                if (root)
                    throw malformed(Translate("More than one root element"), node.offset_debug());
                root = node;
            } else if ((node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) &&
                       !QByteArray(node.value()).trimmed().isEmpty()) {
                throw malformed(Translate("Text outside the root element"), node.offset_debug());
            }
        }
        if (!root) {
            pugi::xml_parse_result none;
            none.status = pugi::status_no_document_element;
            throw malformed(QString::fromUtf8(none.description()), data.size());
        }
        for (pugi::xml_node child = Root().first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element)
                Remember(child);
    }

    void Remember(pugi::xml_node node)
    {
        Entry& entry = Index[QByteArray(node.name())];
        if (entry.Count++ == 0)
            entry.First = node;
    }

    pugi::xml_node Find(const QString& id) const { return Find(id.toUtf8()); }
    pugi::xml_node Find(const QByteArray& name) const
    {
        const auto it = Index.constFind(name);
        return it == Index.constEnd() ? pugi::xml_node() : it->First;
    }
    // The first element named as `node` is.
    pugi::xml_node FirstNamedAs(pugi::xml_node node) const
    {
        return Find(QByteArray::fromRawData(node.name(), static_cast<qsizetype>(std::strlen(node.name()))));
    }

    pugi::xml_node Append(const QString& id)
    {
        // The identifier names the element, so it must be an XML name for the file to stay readable.
        static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.-]*$"));
        if (!name.match(id).hasMatch())
            throw EFileError(Translate("'%1' is not a valid identifier").arg(id));
        pugi::xml_node node = Root().append_child(XmlText(id).constData());
        Remember(node);
        return node;
    }

    // Removes the first element named `id`; false when there is none.
    bool RemoveFirst(const QString& id)
    {
        const QByteArray key = id.toUtf8();
        auto it = Index.find(key);
        if (it == Index.end())
            return false;
        const pugi::xml_node node = it->First;
        if (--it->Count == 0)
            Index.erase(it);
        else
            it->First = node.next_sibling(key.constData());
        Root().remove_child(node);
        return true;
    }

    template <typename Fn> void ForEachRecord(Fn fn) const
    {
        for (pugi::xml_node child = Root().first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element)
                fn(child);
    }

    int RecordCount() const
    {
        int n = 0;
        ForEachRecord([&n](pugi::xml_node) { ++n; });
        return n;
    }
};

TXMLOperation::TXMLOperation(const QString& folder, const TFormatSettings& formats)
    : FTaskDoc(std::make_unique<TDocument>()), FCategoryDoc(std::make_unique<TDocument>()),
      FSettingDoc(std::make_unique<TDocument>()), FFormats(formats)
{
    const QDir dir(folder);
    FTaskFile = dir.filePath(TaskFileName);
    FCategoryFile = dir.filePath(CategoryFileName);
    FSettingFile = dir.filePath(SettingFileName);
    FTaskDoc->Path = FTaskFile;
    FCategoryDoc->Path = FCategoryFile;
    FSettingDoc->Path = FSettingFile;
    CheckDataFiles();
    FTaskDoc->Load();
    FCategoryDoc->Load();
    FSettingDoc->Load();
}

TXMLOperation::~TXMLOperation() = default;

void TXMLOperation::CheckDataFiles()
{
    const std::pair<const QString*, const char*> files[] = {
        {&FTaskFile, kDefaultTaskFile}, {&FCategoryFile, kDefaultCategoryFile}, {&FSettingFile, kDefaultSettingFile}};
    for (const auto& [path, text] : files) {
        if (QFileInfo::exists(*path))
            continue;
        const QString error = SaveFileAtomically(*path, QByteArray(text));
        if (!error.isEmpty())
            throw EFileError(error);
    }
}

void TXMLOperation::Save(TDocument& doc)
{
    ByteWriter writer;
    writer.Data.reserve(std::max<qsizetype>(doc.FileSize + doc.FileSize / 8, 1 << 16));
    doc.Doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    doc.FileSize = writer.Data.size();
    const QString error = SaveFileAtomically(doc.Path, writer.Data);
    if (!error.isEmpty())
        throw EFileError(error);
}

namespace {

// The children a task is read from, in the order in which the store writes them.
enum TaskChild
{
    ChildName,
    ChildCategory,
    ChildPriority,
    ChildContent,
    ChildDueDate,
    ChildReminderState,
    ChildReminderTime,
    ChildReminderDate,
    ChildState,
    ChildNoteState,
    ChildNoteTop,
    ChildNoteLeft,
    TaskChildCount
};
constexpr const char* kTaskChildNames[TaskChildCount] = {
    "taskname",    "taskcategoryid",    "taskpriorityid",   "taskcontent",
    "taskduedate", "taskreminderstate", "taskremindertime", "taskreminderdate",
    "taskstate",   "markformstate",     "markformtop",      "markformleft"};

// The text of the first child of each name ("" when there is none), found in one pass over
// the children instead of one search per name.
std::array<const char*, TaskChildCount> TaskChildTexts(pugi::xml_node node)
{
    std::array<const char*, TaskChildCount> texts{};
    int next = 0; // children normally stand in the order of kTaskChildNames
    int found = 0;
    for (pugi::xml_node child = node.first_child(); child && found < TaskChildCount;
         child = child.next_sibling()) {
        const char* name = child.name();
        int slot = next < TaskChildCount && std::strcmp(name, kTaskChildNames[next]) == 0 ? next : -1;
        for (int i = 0; slot < 0 && i < TaskChildCount; ++i)
            if (std::strcmp(name, kTaskChildNames[i]) == 0)
                slot = i;
        if (slot < 0)
            continue;
        next = slot + 1;
        if (!texts[slot]) {
            texts[slot] = child.text().get();
            ++found;
        }
    }
    for (const char*& text : texts)
        if (!text)
            text = "";
    return texts;
}

// The text as a string; the few short texts that most tasks share ("0" to "2", "true",
// "false") come from shared constants instead of a conversion and an allocation each.
QString TaskText(const char* text)
{
    static const QString shared[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                     QStringLiteral("true"), QStringLiteral("false")};
    const QLatin1StringView view(text);
    for (const QString& s : shared)
        if (view == s)
            return s;
    return QString::fromUtf8(text);
}

// Boolean text: only the exact text "true" is true.
bool IsTrue(const char* text)
{
    return std::strcmp(text, "true") == 0;
}

TTaskInfo ReadTask(pugi::xml_node node, const QString& id, const TFormatSettings& fmt)
{
    const std::array<const char*, TaskChildCount> text = TaskChildTexts(node);
    TTaskInfo task;
    task.ID = id;
    task.TaskName = QString::fromUtf8(text[ChildName]);
    task.TaskCategoryID = QString::fromUtf8(text[ChildCategory]);
    task.TaskPriorityID = TaskText(text[ChildPriority]);
    task.TaskContent = QString::fromUtf8(text[ChildContent]);
    task.TaskDueDate = *text[ChildDueDate] ? QString::fromUtf8(text[ChildDueDate]) : QStringLiteral("none");
    if (IsTrue(text[ChildReminderState])) {
        task.Reminder.State = true;
        task.Reminder.Date = StrToDate(QString::fromUtf8(text[ChildReminderDate]), fmt);
        task.Reminder.Time = StrToTime(QString::fromUtf8(text[ChildReminderTime]), fmt);
    }
    task.TaskState = TaskText(text[ChildState]);
    if (IsTrue(text[ChildNoteState])) {
        task.MarkFormState = true;
        task.MarkFormTop = StrToInt(QString::fromUtf8(text[ChildNoteTop]));
        task.MarkFormLeft = StrToInt(QString::fromUtf8(text[ChildNoteLeft]));
    }
    return task;
}

TCategoryInfo ReadCategory(pugi::xml_node node, const QString& id)
{
    TCategoryInfo category;
    category.ID = id;
    category.CategoryName = ReadChild(node, "categoryname");
    category.CategoryIconID = StrToInt(ReadChild(node, "categoryiconid"));
    return category;
}

} // namespace

void TXMLOperation::GetTaskList(TTaskInfoList& list) const
{
    TTaskInfoList result;
    result.reserve(FTaskDoc->RecordCount());
    FTaskDoc->ForEachRecord([&](pugi::xml_node child) {
        // The first element of that name holds the record, as a search by identifier finds it.
        result.append(ReadTask(FTaskDoc->FirstNamedAs(child), QString::fromUtf8(child.name()), FFormats));
    });
    list = std::move(result);
}

void TXMLOperation::GetTask(const QString& id, TTaskInfo& task) const
{
    const pugi::xml_node node = FTaskDoc->Find(id);
    if (node)
        task = ReadTask(node, id, FFormats);
}

void TXMLOperation::AddTask(const TTaskInfo& task)
{
    CheckDataFiles();
    pugi::xml_node node = FTaskDoc->Append(task.ID);
    SetChild(node, "taskname", task.TaskName);
    SetChild(node, "taskcategoryid", task.TaskCategoryID);
    SetChild(node, "taskpriorityid", task.TaskPriorityID);
    SetChild(node, "taskcontent", task.TaskContent);
    SetChild(node, "taskduedate", task.TaskDueDate);
    SetChild(node, "taskreminderstate", BoolToStr(task.Reminder.State));
    SetChild(node, "taskremindertime", TimeToStr(task.Reminder.Time, FFormats));
    SetChild(node, "taskreminderdate", DateToStr(task.Reminder.Date, FFormats));
    SetChild(node, "taskstate", task.TaskState);
    SetChild(node, "markformstate", BoolToStr(task.MarkFormState));
    SetChild(node, "markformtop", IntToStr(task.MarkFormTop));
    SetChild(node, "markformleft", IntToStr(task.MarkFormLeft));
    Save(*FTaskDoc);
}

void TXMLOperation::UpdateTask(const TTaskInfo& task)
{
    pugi::xml_node node = FTaskDoc->Find(task.ID);
    if (!node) {
        AddTask(task);
        return;
    }
    SetChild(node, "taskname", task.TaskName);
    SetChild(node, "taskcategoryid", task.TaskCategoryID);
    SetChild(node, "taskpriorityid", task.TaskPriorityID);
    SetChild(node, "taskcontent", task.TaskContent);
    SetChild(node, "taskduedate", task.TaskDueDate);
    if (task.Reminder.State) {
        SetChild(node, "taskreminderstate", BoolToStr(true));
        SetChild(node, "taskremindertime", TimeToStr(task.Reminder.Time, FFormats));
        SetChild(node, "taskreminderdate", DateToStr(task.Reminder.Date, FFormats));
    } else {
        SetChild(node, "taskreminderstate", BoolToStr(false));
    }
    SetChild(node, "markformstate", BoolToStr(task.MarkFormState));
    SetChild(node, "markformtop", IntToStr(task.MarkFormTop));
    SetChild(node, "markformleft", IntToStr(task.MarkFormLeft));
    Save(*FTaskDoc);
}

void TXMLOperation::DeleteTask(const QString& id)
{
    if (FTaskDoc->RemoveFirst(id))
        Save(*FTaskDoc);
}

void TXMLOperation::SetTaskState(const QString& id, const QString& state)
{
    pugi::xml_node node = FTaskDoc->Find(id);
    if (!node)
        return;
    SetChild(node, "taskstate", state);
    Save(*FTaskDoc);
}

void TXMLOperation::SetTaskReminder(const QString& id, const TReminderInfo& reminder)
{
    pugi::xml_node node = FTaskDoc->Find(id);
    if (!node)
        return;
    SetChild(node, "taskreminderstate", BoolToStr(reminder.State));
    if (reminder.State) {
        SetChild(node, "taskremindertime", TimeToStr(reminder.Time, FFormats));
        SetChild(node, "taskreminderdate", DateToStr(reminder.Date, FFormats));
    }
    Save(*FTaskDoc);
}

void TXMLOperation::UpdateMarkForm(const TTaskInfo& task)
{
    pugi::xml_node node = FTaskDoc->Find(task.ID);
    if (!node)
        return;
    SetChild(node, "markformstate", BoolToStr(task.MarkFormState));
    SetChild(node, "markformtop", IntToStr(task.MarkFormTop));
    SetChild(node, "markformleft", IntToStr(task.MarkFormLeft));
    if (!task.MarkFormState && FNoteClosed)
        FNoteClosed(task.ID);
    Save(*FTaskDoc);
}

void TXMLOperation::GetCategoryList(Tcategorylist& list) const
{
    Tcategorylist result;
    result.reserve(FCategoryDoc->RecordCount());
    FCategoryDoc->ForEachRecord([&](pugi::xml_node child) {
        result.append(ReadCategory(FCategoryDoc->FirstNamedAs(child), QString::fromUtf8(child.name())));
    });
    list = std::move(result);
}

void TXMLOperation::GetCategory(const QString& id, TCategoryInfo& category) const
{
    const pugi::xml_node node = FCategoryDoc->Find(id);
    if (node)
        category = ReadCategory(node, id);
}

void TXMLOperation::AddCategory(const TCategoryInfo& category)
{
    CheckDataFiles();
    pugi::xml_node node = FCategoryDoc->Append(category.ID);
    SetChild(node, "categoryname", category.CategoryName);
    SetChild(node, "categoryiconid", IntToStr(category.CategoryIconID));
    Save(*FCategoryDoc);
}

void TXMLOperation::UpdateCategory(const TCategoryInfo& category)
{
    pugi::xml_node node = FCategoryDoc->Find(category.ID);
    if (!node) {
        AddCategory(category);
        return;
    }
    SetChild(node, "categoryname", category.CategoryName);
    SetChild(node, "categoryiconid", IntToStr(category.CategoryIconID));
    Save(*FCategoryDoc);
}

void TXMLOperation::RemoveCategoryNode(const QString& id)
{
    if (FCategoryDoc->RemoveFirst(id))
        Save(*FCategoryDoc);
}

void TXMLOperation::DeleteCategory(const QString& id)
{
    RemoveCategoryNode(id);
    // Only the category of each task is read, so a task whose other texts no longer
    // convert cannot stop the cascade half-way.
    QStringList doomed;
    FTaskDoc->ForEachRecord([&](pugi::xml_node child) {
        if (ReadChild(FTaskDoc->FirstNamedAs(child), "taskcategoryid") == id)
            doomed.append(QString::fromUtf8(child.name()));
    });
    for (const QString& taskId : doomed)
        DeleteTask(taskId);
}

void TXMLOperation::GetSetting(TSettingInfo& setting)
{
    CheckDataFiles();
    const pugi::xml_node root = FSettingDoc->Root();
    TSettingInfo s;
    s.StartWithWindows = StrToBool(ReadChild(root, "startwithwindows"));
    s.MinimizeOnStart = StrToBool(ReadChild(root, "minimizeonstart"));
    s.AlwaysOnTop = StrToBool(ReadChild(root, "alwaysontop"));
    s.AlphaBlendState = StrToBool(ReadChild(root, "alphablendstate"));
    if (s.AlphaBlendState)
        s.AlphaBlendValue = StrToInt(ReadChild(root, "alphablendvalue"));
    s.MarkFormAlphaBlendState = StrToBool(ReadChild(root, "markformalphablendstate"));
    if (s.MarkFormAlphaBlendState)
        s.MarkFormAlphaBlendValue = StrToInt(ReadChild(root, "markformalphablendvalue"));
    s.DoneTaskPutInBottom = StrToBool(ReadChild(root, "donetaskputinbottom"));
    s.SortByColumn = ReadChild(root, "sortbycolumn");
    s.DisplayFilter = ReadChild(root, "displayfilter");
    setting = s;
}

void TXMLOperation::SaveSetting(const TSettingInfo& setting)
{
    CheckDataFiles();
    const pugi::xml_node root = FSettingDoc->Root();
    SetChild(root, "startwithwindows", BoolToStr(setting.StartWithWindows));
    SetChild(root, "minimizeonstart", BoolToStr(setting.MinimizeOnStart));
    SetChild(root, "alwaysontop", BoolToStr(setting.AlwaysOnTop));
    SetChild(root, "alphablendstate", BoolToStr(setting.AlphaBlendState));
    if (setting.AlphaBlendState)
        SetChild(root, "alphablendvalue", IntToStr(setting.AlphaBlendValue));
    SetChild(root, "markformalphablendstate", BoolToStr(setting.MarkFormAlphaBlendState));
    if (setting.MarkFormAlphaBlendState)
        SetChild(root, "markformalphablendvalue", IntToStr(setting.MarkFormAlphaBlendValue));
    SetChild(root, "donetaskputinbottom", BoolToStr(setting.DoneTaskPutInBottom));
    SetChild(root, "sortbycolumn", setting.SortByColumn);
    Save(*FSettingDoc);
}

void TXMLOperation::SaveDisplayFilter(const QString& filter)
{
    CheckDataFiles();
    SetChild(FSettingDoc->Root(), "displayfilter", filter);
    Save(*FSettingDoc);
}

bool TXMLOperation::HasTask(const QString& id) const
{
    return FTaskDoc->Find(id);
}

bool TXMLOperation::HasCategory(const QString& id) const
{
    return FCategoryDoc->Find(id);
}

void TXMLOperation::SetNoteClosedHandler(std::function<void(const QString&)> handler)
{
    FNoteClosed = std::move(handler);
}
