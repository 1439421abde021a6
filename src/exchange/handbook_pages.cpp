// 提取页码: page numbers of stations and of control-network sections written
// into the index tables of a handbook open in the document host.
#include "word_documents.h"
#include "word_support.h"

#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/doc/document.h"
#include "platform/errors.h"

#include <algorithm>
#include <map>

namespace kelvor::exchange {

std::optional<QString> handbookStation(const QString& paragraph)
{
    const QString t = TrimBlanks(paragraph);
    if (!t.startsWith(QStringLiteral("测站：")))
        return std::nullopt;
    // Short lines: everything after the label but the last character (the mark).
    const qsizetype count = paragraph.size() < 30 ? paragraph.size() - 4 : 10;
    return TrimBlanks(t.mid(3, std::max<qsizetype>(0, count)));
}

QList<HandbookStation> handbookStations(doc::Document& d)
{
    QList<HandbookStation> stations;
    QList<int> marks;
    const int last = std::min(LastStationParagraph, d.paragraphCount());
    for (int i = FirstStationParagraph; i <= last; ++i) {
        const doc::Range p = d.paragraph(i);
        if (std::optional<QString> name = handbookStation(p.text())) {
            stations.append({i, std::move(*name), 0});
            marks.append(p.end() - 1);
        }
    }
    const QList<int> pages = d.pagesOf(marks);
    for (qsizetype s = 0; s < stations.size(); ++s)
        stations[s].page = pages[s];
    return stations;
}

StationSlot stationSlot(int k)
{
    // 25 stations down each column pair, four pairs a table, 100 a table.
    static const int nameColumns[] = {1, 4, 7, 10};
    const int place = (k - 1) % StationsPerTable; // 0..99
    const int column = nameColumns[place / 25];
    return {(k - 1) / StationsPerTable, (k - 1) % 25 + 2, column, column + 1};
}

namespace {

// A station the index tables have no place for stops the command; the
// tables stay as they are from that station on.
void noIndexTable(Context& ctx, int k, const QString& name)
{
    ctx.ui().message(QStringLiteral("第") + QString::number(k) + QStringLiteral("站（") + name
                         + QStringLiteral("）没有可录入页码的表格，处理停止。"),
                     QStringLiteral("提示"), Icon::Exclamation);
}

} // namespace

void cezhanymtobiaoge_Click(Context& ctx)
{
    CaptionProgress caption(ctx);
    try {
        cad::WordApplication& word = cad::ConnectToWord(ctx, cad::WordConnect::AttachShown);
        doc::Document& d = word.activeDocument();
        const int tables = d.tableCount();
        const int firstTable = tables - 2;
        ctx.ui().message(QStringLiteral("保证有足够的表格录入页码，并且找开要操作的观测数据(DOC)文档。"),
                         QStringLiteral("提示"), Icon::Exclamation);
        // Every page is read before any cell is written: the cells take no
        // page break, so writing them moves no station to another page.
        const QList<HandbookStation> stations = handbookStations(d);
        // The index tables' cells as they are now; all writes go in at once.
        std::map<int, QList<doc::RowSpan>> rowsOf;
        QList<doc::Document::Replacement> writes;
        const auto cellOf = [&](int table, int row, int column) -> const doc::CellSpan* {
            auto it = rowsOf.find(table);
            if (it == rowsOf.end())
                it = rowsOf.emplace(table, d.tableRows(table)).first;
            if (row > it->second.size() || column > it->second[row - 1].cells.size())
                return nullptr;
            return &it->second[row - 1].cells[column - 1];
        };
        const auto write = [&](const doc::CellSpan* cell, const QString& text) {
            writes.append({cell->start, cell->mark + 1, text});
        };
        // The station whose paragraph the selection ends on, as if each had
        // been selected for its page in turn.
        int selected = -1;
        const auto finish = [&] {
            d.replaceEach(writes);
            if (selected >= 0)
                d.paragraph(stations[selected].paragraph).select();
        };
        for (qsizetype s = 0; s < stations.size(); ++s) {
            const HandbookStation& st = stations[s];
            const int k = int(s) + 1;
            const StationSlot slot = stationSlot(k);
            const int tableNumber = firstTable + slot.table;
            if (slot.table >= IndexTables || tableNumber < 1 || tableNumber > tables) {
                finish();
                return noIndexTable(ctx, k, st.name);
            }
            selected = int(s);
            const doc::CellSpan* nameCell = cellOf(tableNumber, slot.row, slot.nameColumn);
            const doc::CellSpan* pageCell = cellOf(tableNumber, slot.row, slot.pageColumn);
            if (nameCell)
                write(nameCell, st.name);
            if (!nameCell || !pageCell) {
                finish();
                raise(err::NoSuchItem);
            }
            write(pageCell, QString::number(st.page));
            caption.show(QStringLiteral("处理第:") + QString::number(k) + QStringLiteral("站；") + st.name
                         + QStringLiteral("位于第：") + QString::number(st.page) + QStringLiteral("页"));
        }
        finish();
        ctx.ui().message(QStringLiteral("检查最后几站的页码！可能没有录入表格。"), QString(), Icon::Exclamation);
    } catch (const RunError& e) {
        reportWordError(ctx, WordCommand::StationPages, e, QString());
    }
}

void tiquyimapcsj_Click(Context& ctx)
{
    try {
        cad::WordApplication& word = cad::ConnectToWord(ctx, cad::WordConnect::AttachShown);
        ctx.ui().message(QStringLiteral("将光标放于文档的开头处，以便处理"), QStringLiteral("提示"),
                         Icon::Exclamation);
        doc::Document& d = word.activeDocument();
        doc::Table table = d.table(3);
        const int rows = table.rowCount();
        for (int i = 1; i <= rows - 1; ++i) {
            if (!word.find(QStringLiteral("控 制 网")))
                break; // rows past the last section keep what they hold
            table.cell(i + 1, 4).setText(QString::number(word.pageNumber()));
        }
    } catch (const RunError& e) {
        ctx.ui().message(QString::number(e.number()));
    }
}

} // namespace kelvor::exchange
