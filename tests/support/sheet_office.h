#pragma once
// Office hosts for a test's context: a running sheet host with given cells,
// or none.
#include "platform/context.h"
#include "platform/sheet/sheet_host.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

namespace kelvor::test {

struct SheetOffice {
    sheet::Office office;
    explicit SheetOffice(Context& ctx) { ctx.setOffice(&office); }

    // A running host whose one sheet holds these cells ("E5" -> value).
    sheet::SheetHost& run(std::initializer_list<std::pair<const char*, QVariant>> cells = {},
                          const char* active = "A1")
    {
        sheet::Workbook book;
        for (const auto& [address, value] : cells) {
            int row = 0;
            int column = 0;
            sheet::parseCellAddress(QString::fromLatin1(address), &row, &column);
            book.activeSheet().setCell(row, column, value);
        }
        int row = 1;
        int column = 1;
        sheet::parseCellAddress(QString::fromLatin1(active), &row, &column);
        book.activeSheet().setActiveCell(row, column);
        return office.sheets.run(book);
    }
    sheet::SheetHost* host() { return office.sheets.running(); }
    // The active sheet's cell (row, column); empty without a host.
    QVariant cell(int row, int column)
    {
        sheet::SheetHost* h = host();
        return h && h->hasWorkbook() ? h->workbook()->activeSheet().cell(row, column) : QVariant();
    }
};

} // namespace kelvor::test
