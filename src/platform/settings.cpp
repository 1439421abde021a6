#include "settings.h"

#include "errors.h"
#include "text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace kelvor {

namespace {

const QString kSection = QStringLiteral("参数设定");

// One file line per value: name (without its trailing "=") "=" value.
// CR, LF and "%" in values are written as %0D, %0A and %25.
QString escape(QString v)
{
    v.replace(QLatin1Char('%'), QStringLiteral("%25"));
    v.replace(QLatin1Char('\r'), QStringLiteral("%0D"));
    v.replace(QLatin1Char('\n'), QStringLiteral("%0A"));
    return v;
}

QString unescape(const QString& v)
{
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('%') && i + 2 < v.size()) {
            const QString code = v.mid(i + 1, 2).toUpper();
            if (code == QLatin1String("25")) { out += QLatin1Char('%'); i += 2; continue; }
            if (code == QLatin1String("0D")) { out += QLatin1Char('\r'); i += 2; continue; }
            if (code == QLatin1String("0A")) { out += QLatin1Char('\n'); i += 2; continue; }
        }
        out += v[i];
    }
    return out;
}

QString fileKey(const QString& key)
{
    return key.endsWith(QLatin1Char('=')) ? key.left(key.size() - 1) : key;
}

bool sameName(const QString& a, const QString& b)
{
    return upperAscii(fileKey(a)) == upperAscii(fileKey(b));
}

// The store's lines without their LF or CR LF ends.
QStringList fileLines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

// For a "[name]" line, whether it opens our section; nothing for other lines.
std::optional<bool> opensSection(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return t.mid(1, t.size() - 2) == kSection;
}

} // namespace

QString upperAscii(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    }
    return out;
}

SettingsStore::SettingsStore(QString file)
    : file_(std::move(file))
{
}

const QList<QPair<QString, QString>>& SettingsStore::defaults()
{
    static const QList<QPair<QString, QString>> table = {
        {QStringLiteral("版本更新日期="), QStringLiteral("20070405")},
        {QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\")},
        {QStringLiteral("dxformat="), QStringLiteral("1")},
        {QStringLiteral("Queltdxfilesavepath="), QStringLiteral("d:\\")},
        {QStringLiteral("dx_sj_savepath="), QStringLiteral("d:\\")},
        {QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt")},
        {QStringLiteral("Savelist1="), QString()},
        {QStringLiteral("Savelist2="), QString()},
        {QStringLiteral("Savelist3="), QString()},
        {QStringLiteral("publicfilename="), QString()},
        {QStringLiteral("Closefiletime="), QString()},
        {QStringLiteral("Starfiletime="), QString()},
        {QStringLiteral("biao_gao1="), QStringLiteral("1.3")},
        {QStringLiteral("biao_gao2="), QStringLiteral("1.3")},
        {QStringLiteral("QW_PM="), QStringLiteral("3")},
        {QStringLiteral("QW_GC="), QStringLiteral("2")},
        {QStringLiteral("Dxxc_pm="), QStringLiteral("24")},
        {QStringLiteral("Dxxc_gc="), QStringLiteral("0.01")},
        {QStringLiteral("lock_dxjl="), QStringLiteral("0")},
        {QStringLiteral("Password="), QStringLiteral("52607418")},
        {QStringLiteral("DXdj="), QStringLiteral("一级图根")},
        {QStringLiteral("gongcheng="), QStringLiteral("1：500数字化地形测量")},
        {QStringLiteral("danwei="), QStringLiteral("测绘作业单位")},
        {QStringLiteral("zbxt="), QStringLiteral("1980西安坐标系")},
        {QStringLiteral("gcxt="), QStringLiteral("1985国家高程基准")},
        {QStringLiteral("zyjd="), QStringLiteral("114度30分")},
    };
    return table;
}

QList<QPair<QString, QString>> SettingsStore::load() const
{
    QList<QPair<QString, QString>> entries;
    QFileInfo fi(file_);
    if (!fi.exists())
        return entries;
    QFile f(file_);
    if (fi.isDir() || !f.open(QIODevice::ReadOnly))
        raise(err::PathFileAccess);
    bool inSection = false;
    for (const QString& line : fileLines(f.readAll())) {
        if (const std::optional<bool> ours = opensSection(line)) {
            inSection = *ours;
            continue;
        }
        const QString t = line.trimmed();
        if (!inSection || t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString rawName = line.left(eq);
        // A blank name would be saved as "=value", which reads as no entry.
        if (rawName.trimmed().isEmpty())
            continue;
        const QString name = rawName.trimmed() + QLatin1Char('=');
        // "NAME = value" typed by hand: the blanks around "=" are layout.
        QString raw = line.mid(eq + 1);
        if (rawName.endsWith(QLatin1Char(' '))) {
            qsizetype k = 0;
            while (k < raw.size() && raw[k] == QLatin1Char(' '))
                ++k;
            raw = raw.mid(k);
        }
        const QString value = unescape(raw);
        bool replaced = false;
        for (auto& e : entries) {
            if (sameName(e.first, name)) {
                e.second = value;
                replaced = true;
            }
        }
        if (!replaced)
            entries.append({name, value});
    }
    return entries;
}

void SettingsStore::save(const QList<QPair<QString, QString>>& entries)
{
    // Lines outside our section (a person's notes, other sections) are kept
    // as they stand; our section is written anew where it was.
    QStringList before;
    QStringList after;
    bool found = false;
    QFile old(file_);
    if (old.open(QIODevice::ReadOnly)) {
        const QStringList lines = fileLines(old.readAll());
        old.close();
        bool inSection = false;
        for (const QString& line : lines) {
            if (const std::optional<bool> ours = opensSection(line)) {
                inSection = *ours;
                if (inSection) {
                    found = true;
                    continue;
                }
            }
            if (!inSection)
                (found ? after : before).append(line);
        }
    }
    if (!found && before.isEmpty())
        before.append(QStringLiteral("; kelvorconfig: the program's settings, one value a line"));
    QString text;
    for (const QString& l : before)
        text += l + QLatin1Char('\n');
    text += QLatin1Char('[') + kSection + QStringLiteral("]\n");
    for (const auto& e : entries)
        text += fileKey(e.first) + QLatin1Char('=') + escape(e.second) + QLatin1Char('\n');
    for (const QString& l : after)
        text += l + QLatin1Char('\n');
    QDir().mkpath(QFileInfo(file_).absolutePath());
    writeFileBytes(file_, text.toUtf8());
}

QString SettingsStore::ReadSetting(const QString& key) const
{
    for (const auto& e : load()) {
        if (sameName(e.first, key))
            return e.second;
    }
    return QString();
}

void SettingsStore::writeRaw(const QString& key, const QString& value)
{
    auto entries = load();
    for (auto& e : entries) {
        if (sameName(e.first, key)) {
            e.second = value;
            save(entries);
            return;
        }
    }
    entries.append({key.endsWith(QLatin1Char('=')) ? key : key + QLatin1Char('='), value});
    save(entries);
}

void SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    writeRaw(upperAscii(key), upperAscii(value));
}

void SettingsStore::write_inifile()
{
    auto entries = load();
    for (const auto& d : defaults()) {
        bool found = false;
        for (auto& e : entries) {
            if (sameName(e.first, d.first)) {
                e = d;
                found = true;
            }
        }
        if (!found)
            entries.append(d);
    }
    save(entries);
}

bool SettingsStore::applyFirstRunRule()
{
    if (!ReadSetting(QStringLiteral("版本更新日期=")).trimmed().isEmpty())
        return false;
    write_inifile();
    return true;
}

QList<QPair<QString, QString>> SettingsStore::all() const
{
    return load();
}

} // namespace kelvor
