#pragma once
#include "platform/blanks.h"
#include "platform/context.h"

#include <QString>

namespace kelvor {

// The caption of the output menu's item publicfiles while no file is chosen.
inline QString noCommonFileCaption()
{
    return QStringLiteral("通用文件名为空");
}

// The caption publicfiles shows for the state's CommonFile.
inline QString commonFileCaption(const MainState& state)
{
    return state.commonFile.isEmpty() ? noCommonFileCaption() : state.commonFile;
}

// The rule every reader of the CommonFile follows: the caption trimmed; the
// empty caption text means there is none ("").
inline QString commonFile(const Context& ctx)
{
    const QString c = TrimBlanks(commonFileCaption(ctx.state()));
    return c == noCommonFileCaption() ? QString() : c;
}

} // namespace kelvor
