#include "settings.h"

#include "errors.h"
#include "text_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unordered_map>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

// What a name is matched by.
QString nameKey(const QString& name)
{
    return upperAscii(fileKey(name));
}

bool sameName(const QString& a, const QString& b)
{
    return upperAscii(fileKey(a)) == upperAscii(fileKey(b));
}

// The file's text by the rule of every text file (the store writes UTF-8,
// older copies wrote GBK); nothing when it is GBK that does not decode.
std::optional<QString> decodeStore(const QByteArray& bytes)
{
    const QString text = decodeText(bytes);
    if (textEncodingOf(bytes) == TextEncoding::Gbk && text.contains(QChar(0xFFFD)))
        return std::nullopt;
    return text;
}

// The store's lines without their LF or CR LF ends; none when the file is
// not text.
QStringList fileLines(const QByteArray& bytes)
{
    const std::optional<QString> text = decodeStore(bytes);
    if (!text)
        return {};
    QStringList lines = text->split(QLatin1Char('\n'));
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

// A value line of the section as name (with "=") and value; nothing for
// blank lines, comments and other text.
std::optional<QPair<QString, QString>> parseEntry(const QString& line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    const QString rawName = line.left(eq);
    // A blank name would be saved as "=value", which reads as no entry.
    if (rawName.trimmed().isEmpty())
        return std::nullopt;
    const QString name = rawName.trimmed() + QLatin1Char('=');
    // "NAME = value" typed by hand: the blanks around "=" are layout.
    QString raw = line.mid(eq + 1);
    if (rawName.endsWith(QLatin1Char(' '))) {
        qsizetype k = 0;
        while (k < raw.size() && raw[k] == QLatin1Char(' '))
            ++k;
        raw = raw.mid(k);
    }
    return QPair<QString, QString>(name, unescape(raw));
}

QByteArray readAllOrNothing(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// Held while one write re-reads and replaces the file. flock ends with the
// process, so a killed writer never leaves a lock behind. Without a lock
// file (a folder that cannot take one) the write goes on unlocked and meets
// the folder's error itself.
class WriteLock {
public:
    explicit WriteLock(const QString& file)
        : fd_(::open(QFile::encodeName(file + QStringLiteral(".writelock")).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriteLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    int fd_;
};

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

SettingsStore::Entries SettingsStore::load() const
{
    if (memory_)
        return *memory_;
    Entries entries;
    QFileInfo fi(file_);
    if (!fi.exists())
        return entries;
    QFile f(file_);
    if (fi.isDir() || !f.open(QIODevice::ReadOnly))
        raise(err::PathFileAccess);
    std::unordered_map<QString, qsizetype> index;
    bool inSection = false;
    for (const QString& line : fileLines(f.readAll())) {
        if (const std::optional<bool> ours = opensSection(line)) {
            inSection = *ours;
            continue;
        }
        const auto entry = inSection ? parseEntry(line) : std::nullopt;
        if (!entry)
            continue;
        // A name given twice keeps its first place and its last value.
        const auto [at, isNew] = index.try_emplace(nameKey(entry->first), entries.size());
        if (isNew)
            entries.append(*entry);
        else
            entries[at->second].second = entry->second;
    }
    return entries;
}

void SettingsStore::update(const std::function<void(Entries&)>& change)
{
    if (memory_) {
        change(*memory_);
        return;
    }
    QDir().mkpath(QFileInfo(file_).absolutePath());
    WriteLock lock(file_);
    Entries entries = load();
    change(entries);
    save(entries);
}

void SettingsStore::save(const Entries& entries)
{
    // Lines outside our section (a person's notes, other sections) are kept
    // as they stand, and so are the section's comments; each value line is
    // rewritten where it stood, and new values follow the last one.
    const QByteArray oldBytes = readAllOrNothing(file_);
    if (!oldBytes.isEmpty() && !decodeStore(oldBytes))
        setAsideUnreadable();
    QStringList before, section, after;
    bool found = false;
    bool inSection = false;
    for (const QString& line : fileLines(oldBytes)) {
        if (const std::optional<bool> ours = opensSection(line)) {
            inSection = *ours;
            if (inSection) {
                found = true;
                continue;
            }
        }
        (inSection ? section : found ? after : before).append(line);
    }
    if (!found && before.isEmpty())
        before.append(QStringLiteral("; kelvorconfig: the program's settings, one value a line"));

    const auto valueLine = [](const QPair<QString, QString>& e) {
        return fileKey(e.first) + QLatin1Char('=') + escape(e.second);
    };
    std::unordered_map<QString, qsizetype> index;
    for (qsizetype k = 0; k < entries.size(); ++k)
        index.try_emplace(nameKey(entries[k].first), k);
    QStringList out;
    QList<bool> written(entries.size(), false);
    qsizetype insertAt = 0;
    for (const QString& line : section) {
        const auto entry = parseEntry(line);
        if (!entry) {
            out.append(line);
            continue;
        }
        const auto k = index.find(nameKey(entry->first));
        if (k != index.end() && !written[k->second]) {
            out.append(valueLine(entries[k->second]));
            written[k->second] = true;
            insertAt = out.size();
        }
    }
    QStringList added;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        if (!written[k])
            added.append(valueLine(entries[k]));
    }
    for (qsizetype k = 0; k < added.size(); ++k)
        out.insert(insertAt + k, added[k]);

    QString text;
    for (const QString& l : before)
        text += l + QLatin1Char('\n');
    text += QLatin1Char('[') + kSection + QStringLiteral("]\n");
    for (const QString& l : out)
        text += l + QLatin1Char('\n');
    for (const QString& l : after)
        text += l + QLatin1Char('\n');
    writeFileBytes(file_, text.toUtf8());
}

void SettingsStore::useMemory()
{
    Entries start;
    try {
        start = load();
    } catch (const RunError&) {
        // nothing to start from but the defaults
    }
    memory_ = start;
    // A store short of its marker gets the defaults, as a first run would.
    applyFirstRunRule();
}

void SettingsStore::probe() const
{
    if (memory_)
        return;
    load();
    const QFileInfo fi(file_);
    QDir().mkpath(fi.absolutePath());
    // A temporary file made and dropped: whether the folder takes the new file.
    AtomicFile trial(fi.absoluteFilePath());
}

QString SettingsStore::setAsideUnreadable()
{
    if (memory_)
        return QString();
    const QByteArray bytes = readAllOrNothing(file_);
    if (bytes.isEmpty() || decodeStore(bytes))
        return QString();
    const QString base = file_ + QStringLiteral(".unreadable-") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QString copy = base;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = base + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(file_, copy))
        raise(err::PathFileAccess);
    return copy;
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
    update([&](Entries& entries) {
        for (auto& e : entries) {
            if (sameName(e.first, key)) {
                e.second = value;
                return;
            }
        }
        entries.append({key.endsWith(QLatin1Char('=')) ? key : key + QLatin1Char('='), value});
    });
}

void SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    writeRaw(upperAscii(key), upperAscii(value));
}

void SettingsStore::write_inifile()
{
    update([](Entries& entries) {
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
    });
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
