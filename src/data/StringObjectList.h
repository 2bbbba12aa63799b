// A list of texts with an object for each, in insertion order (not sorted, duplicates allowed).
#pragma once

#include <QString>
#include <QVector>

template <typename T> class TStringObjectList
{
public:
    int Count() const { return FItems.size(); }
    const QString& Strings(int index) const { return FItems.at(index).Text; }
    T* Objects(int index) const { return FItems.at(index).Object; }
    int AddObject(const QString& text, T* object)
    {
        FItems.append({text, object});
        return FItems.size() - 1;
    }
    void Delete(int index) { FItems.removeAt(index); }
    int IndexOf(const QString& text) const
    {
        for (int i = 0; i < FItems.size(); ++i)
            if (FItems[i].Text == text)
                return i;
        return -1;
    }
    int IndexOfObject(const T* object) const
    {
        for (int i = 0; i < FItems.size(); ++i)
            if (FItems[i].Object == object)
                return i;
        return -1;
    }
    void Clear() { FItems.clear(); }

private:
    struct Item
    {
        QString Text;
        T* Object;
    };
    QVector<Item> FItems;
};
