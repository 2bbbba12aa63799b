// Free functions shared by the windows: fillers, openers, reminders and desktop notes.
// Each is implemented beside the window it belongs to (named after each group).
#pragma once

#include "BaseAppVar.h"

#include <QString>

class QComboBox;
class QTreeWidget;
class QWidget;
class TFrmCategoryForm;
class TReminderThread;

// Task list and main window (ui/TaskList.cpp, ui/MainForm.cpp, ui/WindowAppearance.cpp).
void RefreshTaskList(QTreeWidget* grid);
void FillCategoryFilter(QComboBox* selector);
void ApplyWindowAppearance(QWidget* window);
void PlaceMainForm();

// Task editor (ui/TaskAddEditForm.cpp).
void OpenAddTask();
void OpenEditTask(QWidget* owner, const QString& id);
void FillCategoryCombo(QComboBox* combo);
void FillPriorityCombo(QComboBox* combo);

// Category manager and editor (ui/CategoryForm.cpp, ui/CategoryAddEditForm.cpp).
void OpenCategoryManager(QWidget* owner);
void RefreshCategoryList(QTreeWidget* list);
void OpenAddCategory(TFrmCategoryForm* manager);
void OpenEditCategory(TFrmCategoryForm* manager, const QString& id);

// Settings (ui/SettingForm.cpp).
void OpenSettings();
void SetStartWithWindows(bool on);

// Reminders (reminder/ReminderThread.cpp, reminder/ShowTaskForm.cpp).
void StartTaskReminder(const TTaskInfo& task);
void StartAllReminders();
void StopTaskReminder(const QString& taskId); // stops and releases the task's object, if any
void ShowReminderPopup(TReminderThread* thread);

// Desktop notes (reminder/MarkForm.cpp).
void ShowDesktopNote(const TTaskInfo& task, qint32& top, qint32& left);
void ShowDesktopNotes();
void CloseDesktopNote(const QString& taskId); // closes the task's note without writing it
void ApplyMarkFormAlpha(const TSettingInfo& setting);
void SaveMarkFormPositions();
