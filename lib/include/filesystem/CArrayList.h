// The library's list of texts: an ordered list of owned copies. Unless
// AllowDuplicates is set, a text that is already present (exact,
// case-sensitive) is not added again.
#pragma once

#include "PictavoApi.h"

#include <stddef.h>
#include <string>
#include <vector>

class PICTAVO_API CArrayList {
public:
    explicit CArrayList(bool allowDuplicates = false);
    ~CArrayList();

    // True when the text was added; false for a refused duplicate or null.
    bool Add(const wchar_t *text);
    size_t Count() const;
    // The entry at index, or the empty text when index is out of range.
    const wchar_t *Get(size_t index) const;
    bool Contains(const wchar_t *text) const;
    void Clear();

    bool AllowDuplicates;

private:
    std::vector<std::wstring> Items;
};
