#pragma once
#include <QString>

namespace kelvor {
class ZipPackage;
}

// What the .docx reader and writer share about the package.
namespace kelvor::doc {

inline const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
inline const QString DocumentPart = QStringLiteral("word/document.xml");

// The document part's name from the package relationships (DocumentPart
// when they name none).
QString documentPartName(const ZipPackage& package);

} // namespace kelvor::doc
