#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace kelvor::cad {

// How a drawing file stores its texts: UTF-8 from AC1021 (AutoCAD 2007) on;
// before that the code page the header names ($DWGCODEPAGE, GBK when it
// names none or one Qt has no codec for). Either way a "\U+XXXX"
// escape stands for the character of that UTF-16 code unit.
class DxfTextCodec {
public:
    void setVersion(QByteArrayView acadver);      // the value of $ACADVER
    void setCodePage(QByteArrayView dwgcodepage); // the value of $DWGCODEPAGE
    bool isGbk() const { return !utf8_ && codePage_.isEmpty(); }
    QString name() const; // "GBK", "UTF-8", "windows-1252" ...

    // The text of a group's bytes, escapes resolved (caret pairs are left
    // to the caller); no value for bytes that are no text in the encoding.
    std::optional<QString> decode(QByteArrayView bytes) const;
    // The same, escapes left as they stand.
    std::optional<QString> decodeCharacters(QByteArrayView bytes) const;

private:
    bool utf8_ = false;
    QByteArray codePage_; // empty for GBK, else the name of a Qt codec ("windows-1252")
};

// "\U+XXXX" escapes replaced by their characters.
QString decodeUnicodeEscapes(const QString& text);

// The GBK bytes of a text for an AC1015 or AC1014 file: a character GBK
// lacks is written as its "\U+XXXX" escape, never as "?".
QByteArray encodeDxfGbk(const QString& text);

} // namespace kelvor::cad
