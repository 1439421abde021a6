#include "cad/dxf/dxf_text.h"

#include "platform/text_file.h"

#include <QStringDecoder>

namespace kelvor::cad {

namespace {

bool ascii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

void DxfTextCodec::setVersion(QByteArrayView acadver)
{
    const QByteArrayView v = acadver.trimmed();
    // "AC1021" and later: the number after "AC" compares as a whole
    utf8_ = v.size() == 6 && v.startsWith("AC") && v.sliced(2).toInt() >= 1021;
}

void DxfTextCodec::setCodePage(QByteArrayView dwgcodepage)
{
    const QByteArray page = dwgcodepage.trimmed().toByteArray().toUpper();
    codePage_.clear();
    if (!page.startsWith("ANSI_") || page == "ANSI_936")
        return; // GBK
    bool ok = false;
    const int number = page.mid(5).toInt(&ok);
    if (!ok)
        return;
    for (const QByteArray& name : {"windows-" + QByteArray::number(number), "cp" + QByteArray::number(number)})
        if (QStringDecoder(name.constData()).isValid()) {
            codePage_ = name;
            return;
        }
    // a code page Qt does not know: read as GBK, the drawings' usual one
}

QString DxfTextCodec::name() const
{
    if (utf8_)
        return QStringLiteral("UTF-8");
    return codePage_.isEmpty() ? QStringLiteral("GBK") : QString::fromLatin1(codePage_);
}

std::optional<QString> DxfTextCodec::decode(QByteArrayView bytes) const
{
    std::optional<QString> s = decodeCharacters(bytes);
    if (s)
        s = decodeUnicodeEscapes(*s);
    return s;
}

std::optional<QString> DxfTextCodec::decodeCharacters(QByteArrayView bytes) const
{
    QString s;
    if (ascii(bytes)) {
        s = QString::fromLatin1(bytes);
    } else if (utf8_) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        s = utf8(bytes);
        if (utf8.hasError())
            return std::nullopt;
    } else if (codePage_.isEmpty()) {
        s = decodeGbk(bytes.toByteArray());
        if (s.contains(QChar(0xFFFD)))
            return std::nullopt;
    } else {
        QStringDecoder page(codePage_.constData(), QStringDecoder::Flag::Stateless);
        s = page(bytes);
        if (page.hasError())
            return std::nullopt;
    }
    return s;
}

QString decodeUnicodeEscapes(const QString& text)
{
    qsizetype i = text.indexOf(QLatin1String("\\U+"));
    if (i < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (; i >= 0; i = text.indexOf(QLatin1String("\\U+"), i)) {
        int value = 0;
        bool ok = i + 7 <= text.size();
        for (qsizetype k = i + 3; ok && k < i + 7; ++k) {
            const int d = hexDigit(text[k]);
            ok = d >= 0;
            value = value * 16 + d;
        }
        if (!ok) {
            i += 3;
            continue;
        }
        out += QStringView(text).sliced(from, i - from);
        out += QChar(char16_t(value));
        i += 7;
        from = i;
    }
    out += QStringView(text).sliced(from);
    return out;
}

QByteArray encodeDxfGbk(const QString& text)
{
    QByteArray bytes = encodeGbk(text);
    // encodeGbk marks what GBK lacks with "?", and a few characters it
    // writes do not read back (the euro sign as the lone byte 0x80): only
    // then go character by character
    if (bytes.count('?') == text.count(QLatin1Char('?')) && decodeGbk(bytes) == text)
        return bytes;
    bytes.clear();
    for (QChar c : text) {
        const QByteArray one = c.isSurrogate() ? QByteArray("?") : encodeGbk(QString(c));
        if ((one == "?" && c != QLatin1Char('?')) || (one != "?" && decodeGbk(one) != QString(c)))
            bytes += "\\U+" + QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
        else
            bytes += one;
    }
    return bytes;
}

} // namespace kelvor::cad
