#include "word_support.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"

namespace kelvor::exchange {

CaptionProgress::~CaptionProgress()
{
    ctx_.ui().setCaption(MainCaption);
}

void CaptionProgress::show(const QString& text)
{
    ctx_.ui().setCaption(text);
}

StartedWord::StartedWord(Context& ctx, bool visible)
    : word_(&cad::ConnectToWord(ctx, visible ? cad::WordConnect::StartShown : cad::WordConnect::Start))
{
}

StartedWord::~StartedWord()
{
    word_->quit();
}

void reportWordError(Context& ctx, WordCommand command, const RunError& error, const QString& document)
{
    const int code = error.number();
    const QString number = QString::number(code);
    const bool batch = command == WordCommand::Merge || command == WordCommand::Accuracy
                       || command == WordCommand::BatchResults;
    if (batch && (code == err::FileNotFound || code == 32755))
        return;
    if (batch && code == err::CannotOpenDocument) {
        ctx.ui().message(QStringLiteral("不能打开文件:") + document, QString(), Icon::Critical);
        return;
    }
    if (command == WordCommand::StationPages && code == err::NoSuchItem) {
        ctx.ui().message(QStringLiteral("错误号：") + number + QStringLiteral("。已到达数据结尾(5941)！请检查。"),
                         QStringLiteral("提示"), Icon::Exclamation);
        return;
    }
    if (command == WordCommand::CurrentResults) {
        if (code == err::NoServer)
            ctx.ui().message(QStringLiteral("应打开当前的平差结果文件(DOC文档)"), QString(), Icon::Critical);
        else if (code == err::SubscriptOutOfRange)
            ctx.ui().message(QStringLiteral("找不到指定的内容！"), QString(), Icon::Critical);
        ctx.ui().message(QStringLiteral("错误号：") + number);
        return;
    }
    ctx.ui().message(number);
}

std::optional<SequenceChoice> askSequence(Context& ctx)
{
    CommonDialog dialog(ctx);
    dialog.setTitle(QStringLiteral("数据序列")).setFilter(QStringLiteral("数据文件(*.txt)"));
    const QString file = dialog.showOpen();
    if (TrimBlanks(file).isEmpty())
        return std::nullopt;
    const QString folder = ctx.ui().pickFolder(QStringLiteral("请选择要操作的目录"));
    if (folder.isEmpty())
        return std::nullopt;
    return SequenceChoice{file, folder};
}

QString sequenceDocument(const QString& folder, const QString& line)
{
    return folder + QStringLiteral("\\") + TrimBlanks(line) + QStringLiteral(".doc");
}

QString paragraphText(doc::Document& document, int i)
{
    const doc::Range p = document.paragraph(i);
    return document.range(p.start(), p.end()).text();
}

} // namespace kelvor::exchange
