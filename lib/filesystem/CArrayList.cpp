#include "filesystem/CArrayList.h"

#include <algorithm>

CArrayList::CArrayList(bool allowDuplicates) : AllowDuplicates(allowDuplicates) {}

CArrayList::~CArrayList() {}

bool CArrayList::Add(const wchar_t *text)
{
    if (!text) return false;
    if (!AllowDuplicates && Contains(text)) return false;
    Items.emplace_back(text);
    return true;
}

size_t CArrayList::Count() const
{
    return Items.size();
}

const wchar_t *CArrayList::Get(size_t index) const
{
    return index < Items.size() ? Items[index].c_str() : L"";
}

bool CArrayList::Contains(const wchar_t *text) const
{
    return text && std::find(Items.begin(), Items.end(), text) != Items.end();
}

void CArrayList::Clear()
{
    Items.clear();
}
