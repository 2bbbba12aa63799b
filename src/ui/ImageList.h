// ImgListCateGory: the sixteen 16 x 16 images shared by the task list, the category lists
// and the dialogs. 0-2 priorities High/Normal/Low, 3 reminder, 4-13 category icons,
// 14 "All", 15 "Edit Categories". Also the tool bar pictures and the program's own icons.
#pragma once

#include <QIcon>
#include <QString>

inline constexpr int ImageCount = 16;
inline constexpr int ImageReminder = 3;
inline constexpr int ImageFirstCategory = 4;
inline constexpr int ImageLastCategory = 13;
inline constexpr int ImageAll = 14;
inline constexpr int ImageEditCategories = 15;

// The image at `index`; an empty icon outside 0 to 15.
QIcon CategoryImage(int index);

// The 24 x 24 tool bar picture `name` ("addtask", "edittask", "deletetask", "setting",
// "homepage", "email", "help", "about").
QIcon ToolBarImage(const QString& name);

// The notification-area icon and the program's window icon.
QIcon TrayImage();
QIcon ApplicationImage();

// Makes sure the compiled pictures are registered (they live in a static library).
void RegisterPictures();
