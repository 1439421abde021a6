#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
struct FileDialogRequest;
} // namespace kelvor

namespace kelvor::quelt {

// The traverse folders under the result folder and the print file of each
// traverse: its plane, height-difference and height results one after the
// other.

// Names of the folders directly in a folder (hidden ones left out), in name
// order; none when the folder does not exist.
QStringList traverseFolders(const QString& resultFolder);

// 生成导线目录序列文件: the traverse folders of the result folder as a
// sequence file in watch.txt, opened for the user to edit.
void Command19_Click(Context& ctx);

// 生成成果打印文件: CG-k.txt in the result folder for the k-th traverse of a
// chosen sequence file.
void Command15_Click(Context& ctx, FileDialogRequest& dialog);

} // namespace kelvor::quelt
