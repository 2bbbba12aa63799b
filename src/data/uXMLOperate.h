// The store: the three data files held as XML documents, and every read and change of them.
#pragma once

#include "BaseAppVar.h"
#include "FormatSettings.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace pugi {
class xml_document;
class xml_node_struct;
} // namespace pugi

inline const QString TaskFileName = QStringLiteral("task.qrn");
inline const QString CategoryFileName = QStringLiteral("category.qrn");
inline const QString SettingFileName = QStringLiteral("setting.qrn");

class TXMLOperation;
// The one store of the running program, created at start-up.
extern TXMLOperation* XMLOperation;

class TXMLOperation
{
public:
    // Creates every missing data file in `folder` and loads the three files.
    // Raises EFileError naming the path and the reason when a file cannot be created or read.
    TXMLOperation(const QString& folder, const TFormatSettings& formats);
    ~TXMLOperation();
    TXMLOperation(const TXMLOperation&) = delete;
    TXMLOperation& operator=(const TXMLOperation&) = delete;

    // Writes the default text of every data file that does not exist; loads nothing.
    void CheckDataFiles();

    void GetTaskList(TTaskInfoList& list) const;
    void GetTask(const QString& id, TTaskInfo& task) const;
    void AddTask(const TTaskInfo& task);
    void UpdateTask(const TTaskInfo& task);
    void DeleteTask(const QString& id);
    void SetTaskState(const QString& id, const QString& state);
    void SetTaskReminder(const QString& id, const TReminderInfo& reminder);
    void UpdateMarkForm(const TTaskInfo& task);

    void GetCategoryList(Tcategorylist& list) const;
    void GetCategory(const QString& id, TCategoryInfo& category) const;
    void AddCategory(const TCategoryInfo& category);
    void UpdateCategory(const TCategoryInfo& category);
    void RemoveCategoryNode(const QString& id);
    void DeleteCategory(const QString& id);

    void GetSetting(TSettingInfo& setting);
    void SaveSetting(const TSettingInfo& setting);
    void SaveDisplayFilter(const QString& filter);

    bool HasTask(const QString& id) const;
    bool HasCategory(const QString& id) const;

    // Called by UpdateMarkForm when a note is switched off, with the task's identifier,
    // so that the list of open desktop notes can drop that note's entry.
    void SetNoteClosedHandler(std::function<void(const QString&)> handler);

    const TFormatSettings& Formats() const { return FFormats; }
    QString TaskFile() const { return FTaskFile; }
    QString CategoryFile() const { return FCategoryFile; }
    QString SettingFile() const { return FSettingFile; }

    struct TDocument;

private:
    void Save(TDocument& doc);

    QString FTaskFile;
    QString FCategoryFile;
    QString FSettingFile;
    std::unique_ptr<TDocument> FTaskDoc;
    std::unique_ptr<TDocument> FCategoryDoc;
    std::unique_ptr<TDocument> FSettingDoc;
    TFormatSettings FFormats;
    std::function<void(const QString&)> FNoteClosed;
};
