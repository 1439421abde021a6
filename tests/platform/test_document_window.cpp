#include "platform/doc/docx.h"
#include "platform/text_file.h"
#include "platform/zip_package.h"
#include "platform/ui/document_window.h"

#include "../support/doc_builder.h"
#include "../support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::DocBuilder;
using kelvor::test::u;

namespace {

struct WindowHome {
    test::TempHome home;
    doc::Hosts hosts{&home.ui};
    DocumentWindow window{hosts};
    QStringList asked;
    QStringList told;
    QString answer;

    WindowHome()
    {
        window.askName = [this](bool forSaving) {
            asked << (forSaving ? u("save") : u("open"));
            return answer;
        };
        window.tell = [this](const QString& t) { told << t; };
    }
    QString write(const QString& name, const DocBuilder& b, const QByteArray& extraBody = QByteArray())
    {
        const QString path = home.path(name);
        QByteArray bytes = doc::docxBytes(b.build());
        if (!extraBody.isEmpty()) {
            // the same text with a bold run property: formatting the model drops
            const QByteArray xml = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                                   "<w:body><w:p><w:r><w:rPr><w:b/></w:rPr><w:t>" + extraBody + "</w:t></w:r></w:p>"
                                   "</w:body></w:document>";
            bytes = buildZipPackage({{u("word/document.xml"), xml}});
        }
        writeFileBytes(path, bytes);
        return path;
    }
};

} // namespace

TEST(DocumentWindow, RunsOnlyWhileItHoldsADocument)
{
    WindowHome w;
    EXPECT_FALSE(w.window.isVisible());
    EXPECT_EQ(w.hosts.runningWord(), nullptr);
    EXPECT_TRUE(w.window.isVisible()) << "shown for the person to open a document";
    ASSERT_TRUE(w.window.openPath(w.write(u("a.docx"), DocBuilder().para(u("甲\t乙")).table({{u("1"), u("2")}}))));
    EXPECT_EQ(w.hosts.runningWord(), static_cast<cad::WordApplication*>(&w.window.instance()));
    EXPECT_EQ(w.window.viewText(), u("甲\t乙\n\n1\n2\n\n"));
    EXPECT_EQ(w.window.windowTitle(), u("a.docx - Kelvor 文档"));
    EXPECT_FALSE(w.window.openPath(w.home.path(u("none.docx"))));
    EXPECT_EQ(w.told, QStringList{u("不能打开文件:") + w.home.path(u("none.docx")) + u("\n无法打开此文件")});
    EXPECT_EQ(w.hosts.runningWord(), static_cast<cad::WordApplication*>(&w.window.instance())) << "a failed open keeps the document";
}

TEST(DocumentWindow, SavingWhatWouldLoseContentAsksANewName)
{
    const struct {
        const char* name;
        bool formatted;
        QString answer;
        QStringList asked;
        bool saved;
    } cases[] = {
        {"plain document saved in place", false, QString(), {}, true},
        {"formatted: a new name", true, u("b.docx"), {u("save")}, true},
        {"formatted: cancelled", true, QString(), {u("save")}, false},
    };
    for (const auto& c : cases) {
        WindowHome w;
        const QString a = w.write(u("a.docx"), DocBuilder().para(u("甲")), c.formatted ? QByteArray("甲") : QByteArray());
        ASSERT_TRUE(w.window.openPath(a)) << c.name;
        w.window.instance().activeDocument().replace(0, 0, u("新"));
        w.answer = c.answer.isEmpty() ? QString() : w.home.path(c.answer);
        EXPECT_EQ(w.window.save(), c.saved) << c.name;
        EXPECT_EQ(w.asked, c.asked) << c.name;
        const QString target = c.answer.isEmpty() ? a : w.home.path(c.answer);
        if (c.saved) {
            EXPECT_EQ(doc::readDocx(target).content().text(), u("新甲\r")) << c.name;
        }
        if (c.formatted) {
            EXPECT_EQ(doc::readDocx(a).content().text(), u("甲\r")) << c.name << ": the original stays";
        }
    }
}

TEST(DocumentWindow, TablesAreDrawnAsAGridOfCells)
{
    WindowHome w;
    ASSERT_TRUE(w.window.openPath(w.write(
        u("t.docx"), DocBuilder().para(u("表前")).table({{u("甲"), u("乙")}, {u("1"), u("22")}}).para(u("表后")))));
    w.window.resize(600, 400);
    w.window.show();
    QApplication::processEvents();
    QTextEdit* view = w.window.view();
    QTextTable* table = nullptr;
    for (QTextFrame* f : view->document()->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(f);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), u("22"));

    // cell lines: three across the first row's padding, three down the
    // first column's padding, and none beside the paragraph before
    const QImage shot = view->viewport()->grab().toImage();
    const QRect first = view->cursorRect(table->cellAt(0, 0).firstCursorPosition());
    const QRect last = view->cursorRect(table->cellAt(1, 0).firstCursorPosition());
    const auto lines = [&](QPoint from, QPoint step, int steps = 100000) {
        int n = 0;
        bool dark = false;
        for (QPoint p = from; shot.rect().contains(p) && steps-- > 0; p += step) {
            const bool d = qGray(shot.pixel(p)) < 160;
            n += d && !dark;
            dark = d;
        }
        return n;
    };
    EXPECT_EQ(lines({0, first.top() - 1}, {1, 0}), 3);
    EXPECT_EQ(lines({first.left() - 2, first.top() - 8}, {0, 1}, last.bottom() + 13 - first.top()), 3);
    const QRect before = view->cursorRect(QTextCursor(view->document()));
    EXPECT_EQ(lines({0, before.top() - 1}, {1, 0}), 0);
}
