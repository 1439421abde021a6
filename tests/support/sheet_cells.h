#pragma once
// Expected texts of traverse sheet cells, checked as a table.
#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvor::test {

struct Cell {
    bool known; // Text1, else Text5
    int index;
    QString text;
};

inline Cell t1(int i, const char* s)
{
    return {true, i, QString::fromUtf8(s)};
}

inline Cell t5(int i, const char* s)
{
    return {false, i, QString::fromUtf8(s)};
}

inline void expectCells(const traverse::TraverseSheet& sheet, const std::vector<Cell>& cells)
{
    for (const Cell& c : cells) {
        const QString actual = c.known ? sheet.text1(c.index) : sheet.text5(c.index);
        EXPECT_EQ(actual, c.text) << (c.known ? "Text1 " : "Text5 ") << c.index;
    }
}

} // namespace kelvor::test
