// The byte streams under the file zone changes: lines and their ends as
// found, numbers read and written with the program's text rules.
#include "routines/routines.h"
#include "coords/line_stream.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::TempHome;

namespace {

// Lines and their ends must come out whole wherever the 1 MiB read chunks
// cut them.
TEST(LineInput, LinesAndEndsSurviveChunkBoundaries)
{
    constexpr int Chunk = 1 << 20;
    const QByteArray longA(Chunk - 1, 'a');
    const struct {
        const char* name;
        QByteArray bytes;
        QList<QByteArray> lines;
        QList<QByteArray> ends;
    } cases[] = {
        {"CR LF split between chunks", longA + "\r\nb\r\nc", {longA, "b", "c"}, {"\r\n", "\r\n", ""}},
        {"lone CR at the chunk end", longA + "\rb\n", {longA, "b"}, {"\r", "\n"}},
        {"lone CR only in the next chunk", QByteArray(Chunk - 3, 'a') + "\r\nb\rc\n",
         {QByteArray(Chunk - 3, 'a'), "b", "c"}, {"\r\n", "\r", "\n"}},
        {"LF and CR LF mixed, no lone CR", "a\nb\r\n\r\nc\n\nd", {"a", "b", "", "c", "", "d"},
         {"\n", "\r\n", "\r\n", "\n", "\n", ""}},
        {"CR LF inside one line's bytes is its end, a CR before it is alone", "a\r\r\nb", {"a", "", "b"},
         {"\r", "\r\n", ""}},
        {"line longer than two chunks", QByteArray(Chunk * 2 + 5, 'z') + "\n\n", {QByteArray(Chunk * 2 + 5, 'z'), ""},
         {"\n", "\n"}},
        {"empty file", QByteArray(), {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        QFile f(home.path("l.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        LineInput in(home.path("l.txt"));
        std::string_view line, end;
        QList<QByteArray> lines, ends;
        while (in.next(line, end)) {
            lines << QByteArray(line.data(), qsizetype(line.size()));
            ends << QByteArray(end.data(), qsizetype(end.size()));
        }
        EXPECT_TRUE(lines == c.lines);
        EXPECT_EQ(ends, c.ends);
        EXPECT_EQ(in.lineNumber(), c.lines.size());
    }
}

// The streams write and read numbers as bytes; the texts must be those of
// NumberText and ParseNumber, or converted files would change.
TEST(LineStreamNumbers, BytesMatchTheTextRules)
{
    const double values[] = {0.0, -0.0, 0.5, -0.25, 1e20, -1.5e-7, 123456789012345678.0, 3384554.89504856,
                             231352.466879015, 1e15, 999999999999999.0, 5e-324, 1.7976931348623157e308};
    for (double v : values) {
        char buf[32];
        const char* end = putNumberText(buf, v);
        EXPECT_EQ(QString::fromLatin1(buf, end - buf), NumberText(v)) << v;
    }
    const char* texts[] = {"519256.789", " +1.5 ", "1D3", "1e3", "1E+3", "1e400", "-.5", "1.", ".", "", "-",
                           "inf", "-nan", "0x10", "1,5", "12 3", "\xb5\xe3"};
    for (const char* t : texts) {
        const std::optional<double> got = numberIn(t);
        const std::optional<double> want = ParseNumber(QString::fromLatin1(t));
        EXPECT_EQ(got.has_value(), want.has_value()) << t;
        if (got && want) {
            EXPECT_EQ(*got, *want) << t;
        }
    }
}

} // namespace
