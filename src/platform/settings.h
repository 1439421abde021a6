#pragma once
#include <QList>
#include <QPair>
#include <QString>

namespace kelvor {

// The per-user settings store: section "参数设定" of the application
// "kelvorconfig", held in a human-readable UTF-8 file. Every call reads or
// writes the file afresh (nothing is cached), and every write goes through
// a temporary file and a rename. Names carry their trailing "=" as the
// program uses them ("QW_PM=") and match without regard to the case of a-z.
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

private:
    QList<QPair<QString, QString>> load() const;
    void save(const QList<QPair<QString, QString>>& entries);
    QString file_;
};

// Upper-cases the letters a-z only; every other character stays.
QString upperAscii(const QString& text);

} // namespace kelvor
