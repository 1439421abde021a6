#include "platform/sheet/workbook.h"

#include "routines/routines.h"

namespace kelvor::sheet {

QString columnLetters(int column)
{
    if (column < 1 || column > MaxColumns)
        return QString();
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

QString cellAddress(int row, int column)
{
    return columnLetters(column) + QString::number(row);
}

bool parseCellAddress(const QString& address, int* row, int* column)
{
    qsizetype i = 0;
    const qsizetype n = address.size();
    auto skipDollar = [&] {
        if (i < n && address[i] == u'$')
            ++i;
    };
    skipDollar();
    qint64 c = 0;
    const qsizetype lettersStart = i;
    for (; i < n && address[i].isLetter() && address[i].unicode() < 128; ++i) {
        c = c * 26 + (address[i].toUpper().unicode() - u'A' + 1);
        if (c > MaxColumns)
            return false;
    }
    if (i == lettersStart)
        return false;
    skipDollar();
    qint64 r = 0;
    const qsizetype digitsStart = i;
    for (; i < n && address[i].isDigit() && address[i].unicode() < 128; ++i) {
        r = r * 10 + (address[i].unicode() - u'0');
        if (r > MaxRows)
            return false;
    }
    if (i == digitsStart || i != n || r < 1)
        return false;
    *row = int(r);
    *column = int(c);
    return true;
}

QVariant normaliseCell(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QVariant();
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        return value.toDouble();
    default: {
        const QString text = value.toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
}

QString cellText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double)
        return NumberText(value.toDouble());
    return value.toString();
}

QVariant Sheet::cell(int row, int column) const
{
    if (!inBounds(row, column))
        return QVariant();
    return cells_.value(key(row, column));
}

bool Sheet::setCell(int row, int column, const QVariant& value)
{
    if (!inBounds(row, column))
        return false;
    const QVariant v = normaliseCell(value);
    if (v.isValid())
        cells_.insert(key(row, column), v);
    else
        cells_.remove(key(row, column));
    return true;
}

QList<Sheet::Cell> Sheet::cells() const
{
    QList<Cell> out;
    out.reserve(cells_.size());
    for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
        out.append({int(it.key() >> 16), int(it.key() & 0xFFFF) + 1, it.value()});
    return out;
}

int Sheet::lastRow() const
{
    return cells_.isEmpty() ? 0 : int(cells_.lastKey() >> 16);
}

int Sheet::lastColumn() const
{
    int last = 0;
    for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
        last = qMax(last, int(it.key() & 0xFFFF) + 1);
    return last;
}

bool Sheet::setActiveCell(int row, int column)
{
    if (!inBounds(row, column))
        return false;
    activeRow_ = row;
    activeColumn_ = column;
    return true;
}

void Workbook::setActiveIndex(int index)
{
    if (index >= 0 && index < sheets_.size())
        active_ = index;
}

} // namespace kelvor::sheet
