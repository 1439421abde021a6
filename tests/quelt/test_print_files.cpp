// The traverse folder list and the print files joining each traverse's results.
#include "quelt/print_files.h"

#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::TempHome;

namespace {

struct Results {
    TempHome home;
    FileDialogRequest dialog;
    QString sequence = home.path("d:\\seq.txt");
    QString watch = paths::scratch(QStringLiteral("watch.txt"));

    Results() { home.settings.WriteSetting(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\q")); }
    QString file(const QString& name) const { return paths::resolve(QStringLiteral("d:\\q\\") + name); }
    // The three result files of a traverse, each with a content of its own.
    QByteArray traverse(const QString& name, bool withHeight = true)
    {
        const QByteArray plane = encodeGbk(QStringLiteral("导 线 平 差 计 算 ") + name + "\r\n第二行\r\n");
        // Quelt leaves the height-difference result without a final line end.
        const QByteArray diff = encodeGbk(name + QStringLiteral("-P1    5      >P1"));
        const QByteArray height = encodeGbk(QStringLiteral("[路线 1]  F= -1.23 (cm)\r\n"));
        QDir().mkpath(file(name));
        writeFileBytes(file(name + "/" + name + ".ou"), plane);
        writeFileBytes(file(name + "/" + name + "G.ou"), diff);
        if (withHeight)
            writeFileBytes(file(name + "/" + name + "H.ou"), height);
        return plane + diff + "\r\n" + (withHeight ? height : QByteArray());
    }
    void run(const QStringList& names)
    {
        writeTextLines(sequence, names);
        home.answerOpen({sequence});
        Command15_Click(home.context, dialog);
    }
    QJsonObject message() const
    {
        const QJsonArray m = home.ui.messages();
        return m.isEmpty() ? QJsonObject() : m.last().toObject();
    }
};

} // namespace

TEST(PrintFiles, ListsTheTraverseFolders)
{
    Results r;
    QDir().mkpath(r.file("P2"));
    QDir().mkpath(r.file("P1"));
    QDir().mkpath(r.file(".hidden"));
    writeTextLines(r.file("x.txt"), {QStringLiteral("not a folder")});
    Command19_Click(r.home.context);
    EXPECT_EQ(test::readBytes(r.watch), QByteArray("P1\r\nP2\r\n"));
    EXPECT_EQ(r.home.ui.textWindowFiles(), QStringList{r.watch});
}

TEST(PrintFiles, NoFoldersGiveAnEmptyList)
{
    for (bool exists : {true, false}) {
        SCOPED_TRACE(exists);
        Results r;
        if (exists) {
            QDir().mkpath(r.file(QString()));
            writeTextLines(r.file("x.txt"), {QStringLiteral("x")});
        }
        writeTextLines(r.watch, {QStringLiteral("earlier")});
        Command19_Click(r.home.context);
        EXPECT_EQ(test::readBytes(r.watch), QByteArray());
        EXPECT_EQ(r.home.ui.textWindowFiles(), QStringList{r.watch});
    }
}

TEST(PrintFiles, JoinsTheResultsOfEachTraverse)
{
    Results r;
    const QByteArray p1 = r.traverse(QStringLiteral("P1"));
    const QByteArray p2 = r.traverse(QStringLiteral("P2"));
    writeTextLines(r.file("CG-1.txt"), {QStringLiteral("an earlier print file, longer than the new one"), "", "", ""});
    r.run({QStringLiteral(" P1 "), QStringLiteral("P2")});

    EXPECT_EQ(test::readBytes(r.file("CG-1.txt")), p1);
    EXPECT_EQ(test::readBytes(r.file("CG-2.txt")), p2);
    EXPECT_EQ(r.dialog.title, QStringLiteral("打开导线目录数列文件"));
    EXPECT_EQ(r.dialog.filter, QStringLiteral("数据序列文件(*.*)|*.*"));
    EXPECT_EQ(r.message().value("text").toString(), QStringLiteral("处理完成！文件保存在[D:\\Q]目录下的以CG开头的文本文件。"));
    EXPECT_EQ(r.message().value("title").toString(), QStringLiteral("提示"));
    EXPECT_EQ(r.message().value("icon").toString(), QStringLiteral("exclamation"));
}

TEST(PrintFiles, FailureStopsAtItsLine)
{
    // the second traverse lacks its height result: CG-1 complete, CG-2 partial
    {
        Results r;
        const QByteArray p1 = r.traverse(QStringLiteral("P1"));
        const QByteArray p2 = r.traverse(QStringLiteral("P2"), false);
        r.traverse(QStringLiteral("P3"));
        r.run({QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")});
        EXPECT_EQ(test::readBytes(r.file("CG-1.txt")), p1);
        EXPECT_EQ(test::readBytes(r.file("CG-2.txt")), p2);
        EXPECT_FALSE(QFileInfo::exists(r.file("CG-3.txt")));
        EXPECT_EQ(r.message().value("text").toString(),
                  QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在 2 行的P2。错误号： 53"));
        EXPECT_EQ(r.message().value("title").toString(), QStringLiteral("提示"));
        EXPECT_EQ(r.message().value("icon").toString(), QStringLiteral("critical"));
    }

    const struct {
        const char* what;
        std::function<void(Results&)> prepare;
        QStringList sequence;
        QString message;
        QString title;
    } cases[] = {
        {"missing traverse folder", [](Results&) {}, {QStringLiteral("X")},
         QStringLiteral("文件路径不正确,发生在 1 行的X。"), QStringLiteral("错误")},
        {"missing result folder",
         [](Results& r) { r.home.settings.WriteSetting(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\none")); },
         {QStringLiteral("P1")}, QStringLiteral("文件路径不正确,发生在 1 行的P1。"), QStringLiteral("错误")},
        {"empty source",
         [](Results& r) { writeFileBytes(r.file("P1/P1G.ou"), QByteArray()); },
         {QStringLiteral("P1")},
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在 1 行的P1。错误号： 62"), QStringLiteral("提示")},
        {"empty sequence line", [](Results&) {}, {QStringLiteral("P1"), QString()},
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在 2 行的。错误号： 53"), QStringLiteral("提示")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Results r;
        r.traverse(QStringLiteral("P1"));
        c.prepare(r);
        r.run(c.sequence);
        EXPECT_EQ(r.message().value("text").toString(), c.message);
        EXPECT_EQ(r.message().value("title").toString(), c.title);
        EXPECT_EQ(r.home.ui.messages().size(), 1);
    }
}

TEST(PrintFiles, CancelledDialogWritesNothing)
{
    Results r;
    r.traverse(QStringLiteral("P1"));
    r.home.answerOpen({});
    Command15_Click(r.home.context, r.dialog);
    EXPECT_TRUE(r.home.ui.messages().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(r.file("CG-1.txt")));
}
