// 提取页码: page numbers of stations and of control-network sections written
// into the index tables of a handbook open in the document host.
#include "word_documents.h"
#include "word_support.h"

#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"

#include <algorithm>

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
        const int firstTable = d.tableCount() - 2;
        ctx.ui().message(QStringLiteral("保证有足够的表格录入页码，并且找开要操作的观测数据(DOC)文档。"),
                         QStringLiteral("提示"), Icon::Exclamation);
        const int last = std::min(LastStationParagraph, d.paragraphCount());
        int k = 0;
        for (int i = FirstStationParagraph; i <= last; ++i) {
            const doc::Range p = d.paragraph(i);
            const std::optional<QString> name = handbookStation(d.range(p.start(), p.end()).text());
            if (!name)
                continue;
            ++k;
            const StationSlot slot = stationSlot(k);
            const int tableNumber = firstTable + slot.table;
            if (slot.table >= IndexTables || tableNumber < 1 || tableNumber > d.tableCount())
                return noIndexTable(ctx, k, *name);
            d.range(p.start(), p.end()).select();
            const int page = word.pageNumber();
            doc::Table table = d.table(tableNumber);
            table.cell(slot.row, slot.nameColumn).setText(*name);
            table.cell(slot.row, slot.pageColumn).setText(QString::number(page));
            caption.show(QStringLiteral("处理第:") + QString::number(k) + QStringLiteral("站；") + *name
                         + QStringLiteral("位于第：") + QString::number(page) + QStringLiteral("页"));
        }
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
