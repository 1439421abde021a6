// 合并平差文档: the documents a sequence file names, each after a page break,
// at the cursor of the document the person has open.
#include "word_documents.h"
#include "word_support.h"

#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/text_file.h"

namespace kelvor::exchange {

void hebingworddoc_Click(Context& ctx)
{
    ctx.ui().message(QStringLiteral("首先打开一文件，选择序列文件及DOC所在的目录，将目录中的doc文件合并到文件中。"),
                     QStringLiteral("提示"));
    const std::optional<SequenceChoice> choice = askSequence(ctx);
    if (!choice)
        return;
    QString document;
    try {
        cad::WordApplication& target = cad::ConnectToWord(ctx, cad::WordConnect::Attach);
        TextReader sequence(choice->file);
        do {
            document = sequenceDocument(choice->folder, sequence.readLine());
            StartedWord source(ctx, true);
            doc::Document& opened = source->open(document);
            source->activate();
            source->wholeStory();
            source->copy();
            source->close(opened);

            target.activate();
            // Break and paste at the cursor; a selection is kept, not replaced.
            doc::Document& into = target.activeDocument();
            into.select(into.selection().end, into.selection().end);
            target.insertBreak(7);
            target.paste();
        } while (!sequence.atEnd());
    } catch (const RunError& e) {
        reportWordError(ctx, WordCommand::Merge, e, document);
    }
}

} // namespace kelvor::exchange
