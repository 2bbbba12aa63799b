#include "Errors.h"
#include "TestFolder.h"
#include "uXMLOperate.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings Us()
{
    TFormatSettings f;
    f.TwoDigitYearPivot = 2026;
    return f;
}

TEST(DataFiles, AnEmptyFolderGetsTheThreeDefaultFilesByteForByte)
{
    TestFolder folder;
    TXMLOperation store(folder.Path(), Us());
    EXPECT_EQ(folder.Read(QStringLiteral("task.qrn")), QByteArray("<tasklist>\r\n</tasklist>\r\n"));
    EXPECT_EQ(folder.Read(QStringLiteral("category.qrn")),
              QByteArray("<categorylist>\r\n<category20081124202715129><categoryname>Personal</categoryname>"
                         "<categoryiconid>4</categoryiconid></category20081124202715129>\r\n</categorylist>\r\n"));
    EXPECT_EQ(folder.Read(QStringLiteral("setting.qrn")),
              QByteArray("<setting>\r\n<startwithwindows>true</startwithwindows>\r\n"
                         "<minimizeonstart>false</minimizeonstart>\r\n<alwaysontop>false</alwaysontop>\r\n"
                         "<alphablendstate>false</alphablendstate>\r\n<alphablendvalue>220</alphablendvalue>\r\n"
                         "<markformalphablendstate>true</markformalphablendstate>\r\n"
                         "<markformalphablendvalue>220</markformalphablendvalue>\r\n"
                         "<donetaskputinbottom>false</donetaskputinbottom>\r\n"
                         "<sortbycolumn>default</sortbycolumn>\r\n<displayfilter>all</displayfilter>\r\n"
                         "</setting>\r\n"));
    TTaskInfoList tasks;
    store.GetTaskList(tasks);
    EXPECT_TRUE(tasks.isEmpty());
    Tcategorylist categories;
    store.GetCategoryList(categories);
    ASSERT_EQ(categories.size(), 1);
    EXPECT_EQ(categories[0].ID, DefaultCategoryID);
    EXPECT_EQ(categories[0].CategoryName, QStringLiteral("Personal"));
    EXPECT_EQ(categories[0].CategoryIconID, 4);
    TSettingInfo s;
    store.GetSetting(s);
    EXPECT_TRUE(s.StartWithWindows);
    EXPECT_FALSE(s.MinimizeOnStart);
    EXPECT_FALSE(s.AlphaBlendState);
    EXPECT_EQ(s.AlphaBlendValue, 0);
    EXPECT_TRUE(s.MarkFormAlphaBlendState);
    EXPECT_EQ(s.MarkFormAlphaBlendValue, 220);
    EXPECT_EQ(s.SortByColumn, QStringLiteral("default"));
    EXPECT_EQ(s.DisplayFilter, QStringLiteral("all"));
}

TEST(Store, UnicodeOfEveryKindSurvivesASaveAndARestart)
{
    TestFolder folder;
    const QString name = QStringLiteral("買い物 שלום 🎉 <b>&amp;</b> \"'");
    const QString content = QStringLiteral("line one\r\nline two\nline three\n  indented  \ttab");
    {
        TXMLOperation store(folder.Path(), Us());
        TTaskInfo task;
        task.ID = QStringLiteral("task20261211120000000");
        task.TaskName = name;
        task.TaskContent = content;
        task.TaskCategoryID = DefaultCategoryID;
        task.TaskPriorityID = QStringLiteral("1");
        task.TaskState = QStringLiteral("false");
        store.AddTask(task);
        TTaskInfo blank = task;
        blank.ID = QStringLiteral("task20261211120000001");
        blank.TaskName = QStringLiteral("   ");
        blank.TaskContent = QString(QChar(0x1)) + QStringLiteral("bell") + QChar(0x7) + QChar(0xFFFF);
        store.AddTask(blank);
    }
    TXMLOperation reopened(folder.Path(), Us());
    TTaskInfoList tasks;
    reopened.GetTaskList(tasks);
    ASSERT_EQ(tasks.size(), 2);
    EXPECT_EQ(tasks[0].TaskName, name);
    EXPECT_EQ(tasks[0].TaskContent, content);
    EXPECT_EQ(tasks[1].TaskName, QStringLiteral("   "));
    // Characters XML cannot hold are dropped instead of making the file unreadable.
    EXPECT_EQ(tasks[1].TaskContent, QStringLiteral("bell"));
}

} // namespace
