#include "scenario_documents.h"

#include "platform/atomic_file.h"
#include "platform/doc/host.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

namespace kelvor::app {
namespace {

QString copyOne(const QString& fixture, const QString& target)
{
    const QFileInfo source(fixture);
    if (!source.isFile())
        return QStringLiteral("the fixture \"%1\" does not exist").arg(fixture);
    QDir().mkpath(QFileInfo(target).absolutePath());
    try {
        copyFileAtomically(source.absoluteFilePath(), target);
    } catch (const RunError&) {
        return QStringLiteral("the fixture \"%1\" cannot be copied into the home").arg(fixture);
    }
    return QString();
}

} // namespace

QString copyFixtures(const QJsonObject& copies, const QString& home)
{
    for (auto it = copies.begin(); it != copies.end(); ++it) {
        if (!it.value().isString())
            return QStringLiteral("copy_files.%1: a fixture path is expected").arg(it.key());
        const QString target = paths::isDrivePath(it.key()) ? paths::resolve(it.key())
                                                            : home + QLatin1Char('/') + it.key();
        const QString fault = copyOne(it.value().toString(), target);
        if (!fault.isEmpty())
            return fault;
    }
    return QString();
}

QString openFixtureDocument(doc::Instance& host, const QString& fixture)
{
    const QString windowsPath = QStringLiteral("D:\\") + QFileInfo(fixture).fileName();
    const QString fault = copyOne(fixture, paths::resolve(windowsPath));
    if (!fault.isEmpty())
        return fault;
    try {
        host.open(windowsPath);
    } catch (const RunError& e) {
        return QStringLiteral("the document \"%1\" cannot be read: %2").arg(fixture, e.description());
    }
    return QString();
}

QJsonObject documentJson(doc::Document& document)
{
    QJsonArray paragraphs;
    QString current;
    for (const doc::Unit& u : document.units()) {
        if (u.table >= 0)
            continue;
        if (u.mark == doc::Mark::Paragraph)
            paragraphs.append(std::exchange(current, QString()));
        else
            current.append(u.ch);
    }
    QJsonArray tables;
    for (int t = 1; t <= document.tableCount(); ++t) {
        QJsonArray rows;
        for (const doc::RowSpan& row : document.tableRows(t)) {
            QJsonArray cells;
            for (const doc::CellSpan& c : row.cells)
                cells.append(document.text(c.start, c.mark));
            rows.append(cells);
        }
        tables.append(rows);
    }
    const doc::Selection s = document.selection();
    return QJsonObject{{QStringLiteral("paragraphs"), paragraphs},
                       {QStringLiteral("tables"), tables},
                       {QStringLiteral("cursor"), QJsonArray{s.start, s.end}}};
}

} // namespace kelvor::app
