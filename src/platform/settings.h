#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace kelvor {

// The per-user settings store: section "参数设定" of the application
// "kelvorconfig", held in a human-readable UTF-8 file (a GBK file, as older
// copies wrote, is read too). Every call reads or writes the file afresh
// (nothing is cached). A write takes the lock file "<file>.writelock",
// re-reads the file, changes only its own names and replaces the file
// through a temporary file, so writers in several processes lose nothing.
// Lines of the file that are not values (comments, other sections) stay.
// Names carry their trailing "=" as the program uses them ("QW_PM=") and
// match without regard to the case of a-z.
class SettingsStore {
public:
    explicit SettingsStore(QString file);

    QString file() const { return file_; }

    // The stored text, or "" when the name has no value. A store that
    // exists but cannot be read raises error 75.
    QString ReadSetting(const QString& key) const;
    // Stores value under key, both upper-cased (a-z only).
    void WriteSetting(const QString& key, const QString& value);
    // Stores every default in table order, exactly as tabled.
    void write_inifile();
    // The first-run rule: when the marker reads blank, write the defaults.
    // Returns true when it wrote them.
    bool applyFirstRunRule();

    // Stores a value as given, without upper-casing.
    void writeRaw(const QString& key, const QString& value);
    // Every stored name and value, in file order.
    QList<QPair<QString, QString>> all() const;

    // The 26 settings and their defaults, in the order write_inifile stores them.
    static const QList<QPair<QString, QString>>& defaults();

    // For a file that cannot be used: from now on the values live in memory,
    // starting from the defaults, and the file is neither read nor written.
    void useMemory();
    bool inMemory() const { return memory_.has_value(); }
    // Raises the error that reading the file, or replacing it, meets now
    // (75 for a folder or an unreadable file; the writer's errors), and
    // changes nothing.
    void probe() const;
    // A file that is neither UTF-8 nor GBK text reads as empty and would be
    // lost at the next write: this moves it aside as
    // "<file>.unreadable-<yyyyMMdd>" (a number added when that exists) and
    // returns that path, or "" when the file is readable or missing. Every
    // write does the same before it replaces such a file.
    QString setAsideUnreadable();

private:
    using Entries = QList<QPair<QString, QString>>;
    Entries load() const;
    void update(const std::function<void(Entries&)>& change);
    void save(const Entries& entries);
    QString file_;
    std::optional<Entries> memory_;
};

// Upper-cases the letters a-z only; every other character stays.
QString upperAscii(const QString& text);

} // namespace kelvor
