#pragma once
#include <QString>

namespace kelvor::tools {

// The About box's texts: the program's name, version and the licence of the
// build, and no contact that does not exist.
QString aboutVersion();
QString aboutAuthorsLine();   // Label1(0)
QString aboutTelephoneLine(); // Label1(4)
QString aboutEmailText();     // Label3(0) "电子邮箱"
QString aboutEmailRequestText(); // Picture2(0)
QString aboutContactText();   // Picture1(0..2)

} // namespace kelvor::tools
