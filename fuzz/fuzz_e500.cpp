// 1.1 外业数据->CASS over an arbitrary E500 file: the CASS data file is
// written whole and numbered without gaps when the conversion says so, and
// not at all when it reports a failure.
#include "coords/cass_plot.h"
#include "coords/e500.h"
#include "fuzz_support.h"

#include "platform/text_file.h"

#include <QFile>

using namespace kelvor;

KELVOR_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Home& home = fuzz::Home::fresh();
    home.put(QStringLiteral("d:\\f.500"), fuzz::bytesOf(data, size));
    const QString out = fuzz::Home::absent(QStringLiteral("d:\\f.DAT"));
    home.answerOpen(QStringLiteral("d:\\f.500"));
    coords::zhuanhuanwyczwj_Click(home.context);

    const QJsonArray messages = home.ui.messages();
    if (messages.size() != 1)
        fuzz::finding("not exactly one message");
    const bool done =
        messages[0].toObject().value("text").toString().startsWith(QStringLiteral("已经转换完成！"));
    if (done != QFile::exists(out))
        fuzz::finding("the data file and the message disagree");
    if (!done)
        return 0;
    const QStringList lines = readTextLines(out);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QString::number(i + 1) + QLatin1Char(',')))
            fuzz::finding("numbering has a gap");
    }
    return 0;
}
