#include "e500.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QHash>

namespace kelvor::coords {

namespace {

const QString KXY = QStringLiteral("KXY");
const QString DXY = QStringLiteral("DXY");
const QString HXY = QStringLiteral("HXY");
const QString END = QStringLiteral("END");

bool isMarker(const QString& line, const QString& marker)
{
    return TrimBlanks(line) == marker;
}

// The lines of the file with a read position; reading past the end raises 62.
class Lines {
public:
    explicit Lines(const QStringList& lines)
        : lines_(lines)
    {
    }
    bool atEnd() const { return pos_ >= lines_.size(); }
    const QString& peek() const { return lines_.at(pos_); }
    const QString& read()
    {
        if (atEnd())
            raise(err::InputPastEnd);
        return lines_.at(pos_++);
    }
    qsizetype pos() const { return pos_; }
    void seek(qsizetype p) { pos_ = p; }

private:
    const QStringList& lines_;
    qsizetype pos_ = 0;
};

void readDetails(Lines& in, E500DataFile& out)
{
    in.read(); // the heading
    do {
        const QString& first = in.read();
        if (isMarker(first, KXY))
            return;
        E500Detail d;
        d.identifier = e500Identifier(first);
        d.x = TrimBlanks(in.read());
        d.y = TrimBlanks(in.read());
        out.details.push_back(d);
    } while (!in.atEnd());
}

// Every section opened by `open` anywhere in the file, each read up to
// `close` standing where a record would begin, or to the end of the file.
template <class ReadRecord>
void readSections(Lines& in, const QString& open, const QString& close, ReadRecord readRecord)
{
    in.seek(0);
    while (!in.atEnd()) {
        if (!isMarker(in.read(), open))
            continue;
        while (!in.atEnd() && !isMarker(in.peek(), close))
            readRecord(in);
    }
}

} // namespace

QString e500Identifier(const QString& line)
{
    return orEmpty(BlankField(line, 1)) + orEmpty(BlankField(line, 2)).left(3);
}

E500DataFile readE500(const QStringList& lines)
{
    E500DataFile out;
    Lines in(lines);
    readDetails(in, out);
    readSections(in, HXY, END, [&](Lines& r) {
        E500Height h;
        h.x = TrimBlanks(r.read());
        h.y = TrimBlanks(r.read());
        h.h = r.read();
        out.heights.push_back(h);
    });
    readSections(in, KXY, DXY, [&](Lines& r) {
        E500Control c;
        c.x = TrimBlanks(r.read());
        c.y = TrimBlanks(r.read());
        c.h = TrimBlanks(r.read());
        c.name = TrimBlanks(TrimBlanks(r.read()).right(4));
        out.controls.push_back(c);
    });
    return out;
}

QString shortCode(const QString& field)
{
    if (field.isEmpty())
        raise(err::InvalidArgument);
    const QChar c = field.at(0);
    const ushort upper = c.toUpper().unicode();
    if (upper < 'A' || upper > 'Z')
        return field;
    // The recorder's letters whose CASS short code is another letter.
    switch (c.unicode()) {
    case 'Y': return QStringLiteral("A1");
    case 'B': return QStringLiteral("L1");
    case 'J': return QStringLiteral("M1");
    case 'T': return QStringLiteral("K1");
    default: return QString(c) + QLatin1Char('1');
    }
}

QStringList cassLines(const E500DataFile& data)
{
    QStringList out;
    // The last record of each identifier so far: the nearest earlier
    // namesake of the next one, compared on the identifiers as read.
    QHash<QString, size_t> last;
    const auto& d = data.details;
    for (size_t m = 0; m < d.size(); ++m) {
        QString field = d[m].identifier;
        const auto seen = last.constFind(field);
        if (seen != last.constEnd()) {
            const size_t between = m - *seen - 1;
            field = between == 0 ? QStringLiteral("+") : QString::number(between) + QLatin1Char('+');
        }
        last.insert(d[m].identifier, m);
        out << QString::number(out.size() + 1) + QLatin1Char(',') + shortCode(field) + QLatin1Char(',') + d[m].y
                   + QLatin1Char(',') + d[m].x + QStringLiteral(",0");
    }
    for (const E500Height& h : data.heights)
        out << QString::number(out.size() + 1) + QStringLiteral(",H1,") + h.y + QLatin1Char(',') + h.x
                   + QLatin1Char(',') + h.h;
    for (const E500Control& c : data.controls)
        out << QString::number(out.size() + 1) + QStringLiteral(",C1-") + c.name + QLatin1Char(',') + c.y
                   + QLatin1Char(',') + c.x + QLatin1Char(',') + c.h;
    return out;
}

QString cassPathFor(const QString& e500Path)
{
    const QString path = TrimBlanks(e500Path);
    const qsizetype cut = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))) + 1;
    const QString name = path.mid(cut);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return path.left(cut) + (dot < 0 ? name : name.left(dot)) + QStringLiteral(".DAT");
}

QString ConvertE500ToCass(const QString& path)
{
    const E500DataFile data = readE500(readDataLines(TrimBlanks(path)));
    const QStringList lines = cassLines(data);
    const qsizetype details = qsizetype(data.details.size());
    const qsizetype heights = qsizetype(data.heights.size());
    // The scratch files keep the height and control lines without numbers.
    auto unnumbered = [](const QStringList& l) {
        QStringList out;
        for (const QString& s : l)
            out << s.mid(s.indexOf(QLatin1Char(',')) + 1);
        return out;
    };
    const QString out = cassPathFor(path);
    writeTextLines(paths::resolve(QStringLiteral("C:\\gc.TMP")), unnumbered(lines.mid(details, heights)));
    writeTextLines(paths::resolve(QStringLiteral("C:\\kzd.TMP")), unnumbered(lines.mid(details + heights)));
    writeTextLines(paths::resolve(out), lines);
    return out;
}

} // namespace kelvor::coords
