// 精度统计: one line of accuracy figures per result document of a sequence.
#include "word_documents.h"
#include "word_support.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::exchange {
namespace {

// count characters of text from position start (from 1): a negative count
// fails 5, a start past the end gives "".
QString cut(const QString& text, qsizetype start, qsizetype count)
{
    if (count < 0 || start < 1)
        raise(err::InvalidArgument);
    return text.mid(start - 1, count);
}

// The field with its first `head` and last `tail` characters cut away.
QString inner(const QString& field, qsizetype head, qsizetype tail)
{
    return cut(field, head + 1, field.size() - head - tail);
}

struct Marker {
    const char16_t* text;
    qsizetype start;
    qsizetype less; // the count is len P less this
    QString AccuracyValues::*value;
};

const Marker markers[] = {
    {u"未知坐标点个数：", 9, 9, &AccuracyValues::points},
    {u"路径：", 4, 4, &AccuracyValues::route},
    {u"方位角闭合差=", 8, 7, &AccuracyValues::azimuth},
    {u"总边长[s]=", 7, 7, &AccuracyValues::length},
    {u"高程路线闭合差=", 8, 8, &AccuracyValues::height},
};

} // namespace

bool scanAccuracyParagraph(AccuracyValues& values, const QString& paragraph)
{
    const QString t = TrimBlanks(paragraph);
    for (const Marker& m : markers) {
        if (!t.startsWith(QStringView(m.text)))
            continue;
        const bool route = m.value == &AccuracyValues::route;
        if (route && values.routeTaken)
            return false; // only the first route is read
        values.*m.value = cut(t, m.start, paragraph.size() - m.less);
        values.routeTaken = values.routeTaken || route;
        return m.value == &AccuracyValues::height;
    }
    return false;
}

QString routeText(const QString& route)
{
    const QStringList f = route.split(u'-');
    const qsizetype n = f.size();
    if (n < 3)
        raise(err::SubscriptOutOfRange);
    return TrimBlanks(f[1]) + QStringLiteral("→") + TrimBlanks(f[2]) + QStringLiteral("…") + f[n - 3]
           + QStringLiteral("→") + f[n - 2];
}

QString accuracyLine(const AccuracyValues& v)
{
    const QStringList items{
        routeText(v.route),
        inner(CommaField(v.length, 1), 1, 3),
        NumberText(LeadingNumber(v.points) + 1),
        FormatPattern(inner(CommaField(v.length, 3), 5, 3), QStringLiteral("0.00")),
        v.points,
        inner(CommaField(v.azimuth, 1), 0, 3),
        inner(CommaField(v.azimuth, 2), 3, 4),
        CommaField(v.length, 2).mid(9),
        inner(CommaField(v.height, 1), 1, 4),
        inner(CommaField(v.height, 2), 22, 4),
    };
    return items.join(u' ');
}

void outputpcynumber_Click(Context& ctx)
{
    ctx.ui().message(QStringLiteral("根据序列文件及文档所在的目录，查找精度数据！搜索1-60行。"), QStringLiteral("提示"));
    const std::optional<SequenceChoice> choice = askSequence(ctx);
    if (!choice)
        return;
    CaptionProgress caption(ctx);
    QString document;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    std::optional<TextWriter> out;
    try {
        StartedWord word(ctx, true);
        out.emplace(watch);
        TextReader sequence(choice->file);
        do {
            document = sequenceDocument(choice->folder, sequence.readLine());
            caption.show(QStringLiteral("处理>>") + document);
            doc::Document& d = word->open(document);
            AccuracyValues values; // every document starts from empty values
            for (int i = 1; i <= 60; ++i) {
                if (scanAccuracyParagraph(values, paragraphText(d, i)))
                    break;
            }
            out->writeLine(accuracyLine(values));
            word->close(d);
        } while (!sequence.atEnd());
        out->commit();
    } catch (const RunError& e) {
        if (out) {
            try {
                out->commit(); // the lines of the documents before stay
            } catch (const RunError&) {
            }
        }
        reportWordError(ctx, WordCommand::Accuracy, e, document);
        return;
    }
    ctx.ui().openTextWindow(watch);
}

} // namespace kelvor::exchange
