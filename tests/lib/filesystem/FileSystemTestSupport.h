// A scratch folder of its own for each file-system test, below the test
// prefix's temporary folder, removed with everything in it afterwards.
#pragma once

#include "filesystem/CFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

typedef std::vector<std::wstring> Names;
// The texts of a list, in its order or sorted.
Names Items(const CArrayList &list, bool sorted = false);

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Full path of something inside the scratch folder.
    std::wstring At(const std::wstring &relative) const { return root + L"\\" + relative; }
    void MakeFile(const std::wstring &relative, const char *content = "x", DWORD attributes = 0);
    void MakeFolder(const std::wstring &relative, DWORD attributes = 0);
    std::string ReadFile(const std::wstring &relative) const;
    bool Exists(const std::wstring &relative) const;
    bool IsFolder(const std::wstring &relative) const;
    // The tree several copy and listing tests work on:
    //   a.txt  b.TXT  c.bmp  mytxt  d.txt (hidden)  e.txt (system)
    //   sub\f.txt  sub\deeper\g.txt  hid\ (hidden) with h.txt
    void MakeSampleTree();

    std::wstring root; // no trailing backslash
};
