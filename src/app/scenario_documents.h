#pragma once
#include <QJsonObject>
#include <QString>

namespace kelvor::doc {
class Document;
class Instance;
} // namespace kelvor::doc

// kelvor-run's document keys: fixtures copied into the home, a document open
// in the running document host, and that document in the output.
namespace kelvor::app {

// Copies each fixture (a path relative to the current folder) to its target
// (a Windows path or a path in the home). "" on success, else the fault.
QString copyFixtures(const QJsonObject& copies, const QString& home);

// Copies the fixture to the root of D: and opens it in the instance, so a
// command never touches the fixture. "" on success, else the fault.
QString openFixtureDocument(doc::Instance& host, const QString& fixture);

// "paragraphs" (texts outside tables, a "\f" for each page break), "tables"
// (rows of cell texts) and "cursor" (the selection's start and end).
QJsonObject documentJson(doc::Document& document);

} // namespace kelvor::app
