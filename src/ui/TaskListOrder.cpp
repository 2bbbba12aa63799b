#include "TaskListOrder.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

// The sort column in lower case; only A to Z change, as the setting is a plain word.
QString LowerAscii(const QString& text)
{
    QString lower = text;
    for (QChar& c : lower)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return lower;
}

// Byte-wise, unsigned; a key that is the start of a longer one comes first.
bool KeyLess(const QByteArray& a, const QByteArray& b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int c = common ? std::memcmp(a.constData(), b.constData(), size_t(common)) : 0;
    return c < 0 || (c == 0 && a.size() < b.size());
}

QByteArray FirstCharacterKey(const QString& name)
{
    if (name.isEmpty())
        return {};
    const qsizetype length = (name.size() > 1 && name.at(0).isHighSurrogate() && name.at(1).isLowSurrogate()) ? 2 : 1;
    QByteArray key = name.left(length).toUtf8();
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z')
        key[0] = char(key[0] + ('a' - 'A'));
    return key;
}

} // namespace

QByteArray TaskSortKey(const TTaskInfo& task, const QString& column, bool* known)
{
    if (known)
        *known = true;
    if (column == QLatin1String("priority"))
        return task.TaskPriorityID.toUtf8();
    if (column == QLatin1String("category"))
        return task.TaskCategoryID.toUtf8();
    if (column == QLatin1String("due date"))
        return task.TaskDueDate.toUtf8();
    if (column == QLatin1String("task name"))
        return FirstCharacterKey(task.TaskName);
    if (known)
        *known = false;
    return {};
}

void SortTaskList(TTaskInfoList& list, const TSettingInfo& setting)
{
    const QString column = LowerAscii(setting.SortByColumn);
    bool known = false;
    TaskSortKey(TTaskInfo(), column, &known);
    if (!known || list.size() < 2)
        return;

    // The exchange procedure makes n(n+1)/2 comparisons; it runs on the ranks of the keys
    // (equal keys, equal ranks) so that each comparison is one of two integers.
    const size_t n = size_t(list.size());
    std::vector<QByteArray> keys;
    keys.reserve(n);
    for (const TTaskInfo& task : list)
        keys.push_back(TaskSortKey(task, column));
    std::vector<size_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), size_t(0));
    std::stable_sort(byKey.begin(), byKey.end(), [&](size_t a, size_t b) { return KeyLess(keys[a], keys[b]); });
    std::vector<int> rank(n);
    int r = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && KeyLess(keys[byKey[k - 1]], keys[byKey[k]]))
            ++r;
        rank[byKey[k]] = r;
    }

    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i; j < n; ++j)
            if (rank[i] > rank[j]) {
                std::swap(rank[i], rank[j]);
                std::swap(order[i], order[j]);
            }

    TTaskInfoList sorted;
    sorted.reserve(list.size());
    for (size_t index : order)
        sorted.append(std::move(list[qsizetype(index)]));
    list = std::move(sorted);
}

TTaskInfoList PutDoneTasksLast(const TTaskInfoList& list)
{
    TTaskInfoList notDone;
    TTaskInfoList done;
    for (const TTaskInfo& task : list)
        (task.TaskState == QLatin1String("true") ? done : notDone).append(task);
    notDone.append(done);
    return notDone;
}

bool DisplayFilterShowsTask(const QString& filter, bool filterNamesCategory, const TTaskInfo& task)
{
    if (filter == QLatin1String("all") || !filterNamesCategory)
        return true;
    return task.TaskCategoryID == filter;
}

bool TaskStateTicked(const QString& taskState)
{
    return taskState != QLatin1String("false");
}
