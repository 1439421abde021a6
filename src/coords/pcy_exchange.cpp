#include "pcy_exchange.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "file_failure.h"
#include "line_stream.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <string_view>

namespace kelvor::coords {

namespace {

using namespace std::string_view_literals;

const QString KnownHeader = QStringLiteral("[EARTHKNOWNDATA]");
const QString UnknownHeader = QStringLiteral("[EARTHUNKNOWNDATA]");

void writeText(LineOutput& out, const QString& s)
{
    const QByteArray b = encodeGbk(s);
    out.write(std::string_view(b.constData(), size_t(b.size())));
}

void requireDistinct(const QStringList& nativePaths)
{
    for (qsizetype i = 0; i < nativePaths.size(); ++i) {
        for (qsizetype j = i + 1; j < nativePaths.size(); ++j) {
            if (sameFile(nativePaths[i], nativePaths[j]))
                raise(FileAlreadyOpen);
        }
    }
}

void next(LineInput& in, std::string_view& line, std::string_view& end)
{
    if (!in.next(line, end))
        raise(err::InputPastEnd);
}

// The main window's shared file dialog, preset as every item of the route
// presets it: title, filter, first filter, empty file name.
QString ask(Context& ctx, bool save, const QString& title, const QString& filter)
{
    CommonDialog d(ctx);
    d.setTitle(title).setFilter(filter).setFilterIndex(1).setFileName(QString());
    return save ? d.showSave() : d.showOpen();
}

const QString DxfFilter = QStringLiteral("DXF文件(*.DXF)|*.DXF|所有文件(*.*)|*.*");

} // namespace

QString pcyInstructions()
{
    return QStringList{
        QStringLiteral("--------本功能利用平差易的坐标换带功能，对DXF文件进行换带计算------"),
        QStringLiteral("操作步骤："),
        QStringLiteral("1.将需转换的文件输出DXF格式[例如为dwg.dxf]"),
        QStringLiteral("2.利用第 1 步功能生成坐标交换文件[例如为jh.txt]"),
        QStringLiteral("3.应用平差易坐标转换功能导入坐标文件[jh.txt]，转换后转出坐标文件[out.txt]"),
        QStringLiteral("4.利用第 2 步功能，分别选择需转换的[dwg.dxf]文件、交换文件[out.txt]、输出的DXF文件[out.dxf]"),
        QStringLiteral("5.生成的[out.dxf]，在AutoCAD中使用Dxfin命令调入。"),
    }.join(QStringLiteral("\r\n"));
}

void writePcyExchangeFile(const QString& dxfPath, const QString& exchangePath)
{
    const QString dxf = paths::resolve(dxfPath);
    const QString exchange = paths::resolve(exchangePath);
    requireDistinct({dxf, exchange});
    LineInput in(dxf);
    LineOutput out(exchange);
    writeText(out, KnownHeader + QStringLiteral("\r\n"));
    std::string_view line, end;
    bool examining = false;
    bool any = false;
    while (in.next(line, end)) {
        any = true;
        if (!examining) {
            examining = line == "ENTITIES"sv;
            continue;
        }
        if (line == "ENDSEC"sv) {
            examining = false;
            continue;
        }
        if (line != " 10"sv && line != " 11"sv)
            continue;
        next(in, line, end);
        const qint64 eLine = in.lineNumber();
        const QString e = lineText(line);
        next(in, line, end); // the y code, not examined
        next(in, line, end);
        const QString n = lineText(line);
        if (LeadingNumber(e) != 0 && LeadingNumber(n) != 0) {
            writeText(out, QString::number(eLine) + QLatin1Char(',') + FormatPattern(n, QStringLiteral("0.0000"))
                               + QLatin1Char(',') + FormatPattern(e, QStringLiteral("0.0000"))
                               + QStringLiteral(",\r\n"));
        }
    }
    if (!any)
        raise(err::InputPastEnd);
    writeText(out, UnknownHeader + QStringLiteral("\r\n"));
    out.commit();
}

QList<PcyRow> readPcyResult(const QString& resultPath)
{
    TextReader in(resultPath);
    if (in.atEnd())
        raise(err::InputPastEnd);
    if (in.holdsBinary())
        raise(err::BadFileFormat);
    QList<PcyRow> rows;
    bool inRows = false;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!inRows) {
            inRows = line == UnknownHeader;
            continue;
        }
        if (TrimBlanks(line).isEmpty())
            break;
        PcyRow r;
        r.line = LeadingNumber(CommaField(line, 1));
        r.northing = CommaField(line, 2);
        r.easting = CommaField(line, 3);
        rows.append(r);
    }
    return rows;
}

void mergePcyResult(const QString& dxfPath, const QList<PcyRow>& rows, const QString& outputPath)
{
    const QString dxf = paths::resolve(dxfPath);
    const QString output = paths::resolve(outputPath);
    requireDistinct({dxf, output});
    LineInput in(dxf);
    LineOutput out(output);
    std::string_view line, end;
    qsizetype i = 0;
    const qsizetype k = rows.size();
    bool any = false;
    while (in.next(line, end)) {
        any = true;
        // Rows apply in file order: one that never comes up holds the rest.
        if (i < k && rows[i].line == double(in.lineNumber())) {
            writeText(out, rows[i].easting);
            out.write(end);
            next(in, line, end);
            out.write(line);
            out.write(end);
            next(in, line, end);
            writeText(out, rows[i].northing);
            out.write(end);
            if (i < k - 1)
                ++i;
            else
                i = k; // the last row is applied; the rest is copied
            continue;
        }
        out.write(line);
        out.write(end);
    }
    if (!any)
        raise(err::InputPastEnd);
    out.commit();
}

void zhuobiaohuandai1czsm(Context& ctx)
{
    ctx.ui().message(pcyInstructions());
}

void zhuobiaohuandai1scjhwj(Context& ctx)
{
    const QString dxf = ask(ctx, false, QStringLiteral("打开DXF文件"), DxfFilter);
    if (dxf.trimmed().isEmpty())
        return;
    const QString exchange = ask(ctx, true, QStringLiteral("需保存的平差易坐标转换源文件"),
                                 QStringLiteral("平差易文件(*.txt)|*.txt|所有文件(*.*)|*.*"));
    if (exchange.trimmed().isEmpty())
        return;
    try {
        writePcyExchangeFile(dxf, exchange);
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
        return;
    }
    ctx.ui().message(QStringLiteral("已经生成平差易交数据文件") + exchange + QStringLiteral("\r\n")
                         + QStringLiteral("请在使用[平差易->工具->大地正反算]调入该文件。"),
                     QStringLiteral("提示"), Icon::Exclamation);
}

void zhuobiaohuandai1schdhwj(Context& ctx)
{
    const QString dxf = ask(ctx, false, QStringLiteral("打开需转换DXF文件"), DxfFilter);
    if (dxf.trimmed().isEmpty())
        return;
    const QString result = ask(ctx, false, QStringLiteral("打开平差易交换的结果文件"),
                               QStringLiteral("TXT文件(*.TXT)|*.TXT|所有文件(*.*)|*.*"));
    if (result.trimmed().isEmpty())
        return;
    const QString output = ask(ctx, true, QStringLiteral("保存坐标转换后的DXF文件"),
                               QStringLiteral("DXF文件(*.dxf)|*.dxf|所有文件(*.*)|*.*"));
    if (output.trimmed().isEmpty())
        return;
    try {
        requireDistinct({paths::resolve(dxf), paths::resolve(result), paths::resolve(output)});
        if (textFileExists(dxf) && !holdsTextData(dxf))
            raise(err::BadFileFormat); // a drawing of junk is not copied as one
        mergePcyResult(dxf, readPcyResult(result), output);
    } catch (const RunError& e) {
        reportFileFailure(ctx, e.number());
        return;
    }
    ctx.ui().message(QStringLiteral("已经转换完成！在Autocad中使用Dxfin命令调入：") + output, QStringLiteral("提示"),
                     Icon::Exclamation);
}

} // namespace kelvor::coords
