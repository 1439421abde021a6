#pragma once
// One drawing per layer, named after the layer, in a folder the person picks.
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// The layer filter value that matches exactly this name: every wildcard
// character of the selection grammar is taken literally ("`" before it).
QString exactLayerFilter(const QString& layer);

// True when the name can stand as a file name: not empty, "." or "..", and
// free of \ / : * ? " < > | and control characters.
bool isFileNameLayer(const QString& layer);

// folder + "\" (unless it ends with one) + layer + ".dwg".
QString layerFilePath(const QString& folder, const QString& layer);

// 按图层输出文件 (layeratoutputfile). The folder is asked after connecting;
// every layer with entities is written by Wblock. Layers whose name cannot
// be a file name, or that Wblock refuses, are listed after the final text.
void layeratoutputfile_Click(Context& ctx);

} // namespace kelvor::relief
