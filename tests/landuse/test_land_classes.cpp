// The land-class definition file of the picker: its lists, the code of a
// chosen name placed in the drawing, and the names of picked code texts.
#include "cad_host.h"
#include "landuse/land_classes.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;
using test::u;

namespace {

const char* const kClassFile = "d:\\dl.txt";

QStringList lines(std::initializer_list<const char*> l)
{
    QStringList out;
    for (const char* s : l)
        out << u(s);
    return out;
}

void useClassFile(test::CadHost& h, const QStringList& content)
{
    test::writeGbkLines(h.home.path(QString::fromLatin1(kClassFile)), content);
    h.context.state().commonFile = QString::fromLatin1(kClassFile);
}

} // namespace

TEST(LandClasses, LinesListsAndLookups)
{
    const std::vector<LandClass> classes = ParseLandClasses(lines(
        {" 111 , 灌溉水田 ,x", "", "  ", "311", "211,商业用地", "0A1,其他", "b12,乙", "112,灌溉水田", "313,荒草地",
         ",无码", "211,商业用地"}));
    ASSERT_EQ(classes.size(), 8u);
    EXPECT_EQ(classes[0].code, QStringLiteral("111"));
    EXPECT_EQ(classes[0].name, u("灌溉水田"));

    const std::array<QStringList, 3> lists = LandClassLists(classes);
    EXPECT_EQ(lists[0], lines({"灌溉水田", "灌溉水田"}));
    EXPECT_EQ(lists[1], lines({"商业用地", "商业用地"}));
    EXPECT_EQ(lists[2], lines({"荒草地"}));

    const struct {
        const char* name;
        const char* code;
    } codes[] = {{"灌溉水田", "112"}, {"商业用地", "211"}, {"其他", "0A1"}, {"无码", ""}, {"旱地", ""}, {"商业", ""}};
    for (const auto& c : codes)
        EXPECT_EQ(CodeOfName(classes, u(c.name)), QString::fromLatin1(c.code)) << c.name;

    const struct {
        const char* text;
        std::optional<QString> name;
    } names[] = {{"111", u("灌溉水田")}, {"111 ", std::nullopt}, {"0A1", u("其他")}, {"b12", u("乙")},
                 {"B12", std::nullopt}, {"", u("无码")}};
    for (const auto& c : names)
        EXPECT_EQ(NameOfCode(classes, QString::fromLatin1(c.text)), c.name) << c.text;
}

TEST(LandClasses, TheSameListReadsAlikeInEveryEncodingEditorsSave)
{
    const QString text = u("011,水田\r\n012,水浇地\r\n201,城市\r\n");
    const QByteArray utf16le = QByteArray("\xFF\xFE", 2)
        + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray utf16be = QByteArray("\xFE\xFF", 2);
    for (const QChar c : text)
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"GBK", encodeGbk(text)},
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 little-endian", utf16le},
        {"UTF-16 big-endian", utf16be},
    };
    test::TempHome home;
    const QString file = home.path(QStringLiteral("d:\\dl.txt"));
    for (const auto& c : cases) {
        test::writeBytes(file, c.bytes);
        const std::vector<LandClass> read = ReadLandClasses(file);
        ASSERT_EQ(read.size(), 3u) << c.what;
        EXPECT_EQ(read[0].code, u("011")) << c.what;
        EXPECT_EQ(read[1].name, u("水浇地")) << c.what;
        EXPECT_EQ(LandClassLists(read)[1], QStringList{u("城市")}) << c.what;
    }
}

TEST(LandClasses, ListsTellWhyTheCommonFileIsMissing)
{
    const struct {
        const char* commonFile;
        const char* text;
        const char* title;
    } cases[] = {
        {"", "请在[输出]菜单中的[通用文件名为空]下选择新地类定义文件！", "错误"},
        {"  通用文件名为空 ", "请在[输出]菜单中的[通用文件名为空]下选择新地类定义文件！", "错误"},
        {" d:\\none.txt", "无法找到:d:\\none.txt文件！", nullptr},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        home.context.state().commonFile = u(c.commonFile);
        const std::array<QStringList, 3> lists = PickerLists(home.context);
        for (const QStringList& l : lists)
            EXPECT_TRUE(l.isEmpty()) << c.commonFile;
        const QJsonObject box = test::lastMessage(home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), u(c.text)) << c.commonFile;
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), c.title ? u(c.title) : applicationTitle())
            << c.commonFile;
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical")) << c.commonFile;
    }
}

TEST(LandClasses, ChosenNamePlacesItsCodeFromTheCommonFile)
{
    test::CadHost h;
    useClassFile(h, lines({"201,商业用地", "211,商业用地", "112,旱地"}));
    h.answerPoint(5, 6);
    placeLandClassCode(h.context, u("商业用地"));
    const std::vector<cad::Entity*> placed = h.ms().entities();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0]->TextString(), QStringLiteral("211"));
    EXPECT_EQ(placed[0]->InsertionPoint().x, 5);
    EXPECT_EQ(placed[0]->InsertionPoint().y, 6);
    EXPECT_EQ(placed[0]->Height(), 4.0);
    EXPECT_TRUE(h.app.transcript().contains(u("\r\n注记的位置:")));
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());

    // a cancelled position places nothing, silently
    h.answer(QStringLiteral("esc"));
    placeLandClassCode(h.context, u("旱地"));
    EXPECT_EQ(h.ms().entities().size(), 1u);
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());
}

TEST(LandClasses, NameWithoutACodePlacesNothing)
{
    test::CadHost h;
    useClassFile(h, lines({"211,商业用地", ",空地"}));
    for (const char* name : {"荒草地", "空地"}) {
        placeLandClassCode(h.context, u(name));
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), u(name) + u("没有地类编码！"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), u("提示"));
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    }
    EXPECT_TRUE(h.ms().entities().empty());
    EXPECT_FALSE(h.app.transcript().contains(u("注记的位置")));

    // without a host or a CommonFile the choice ends silently
    test::CadHost none;
    placeLandClassCode(none.context, u("商业用地"));
    useClassFile(none, lines({"211,商业用地"}));
    none.app.setRunning(false);
    placeLandClassCode(none.context, u("商业用地"));
    EXPECT_TRUE(test::messageTexts(none.home).isEmpty());
}

TEST(LandClasses, PickedCodeTextsAreNamedUntilAPickFails)
{
    test::CadHost h;
    useClassFile(h, lines({"111,水田", "111,重复", "", "0A1,其他", "311"}));
    cad::Entity* first = h.ms().AddText(QStringLiteral("111"), {0, 0, 0}, 2);
    cad::Entity* blank = h.ms().AddText(QStringLiteral("111 "), {0, 5, 0}, 2);
    cad::Entity* letter = h.ms().AddText(QStringLiteral("0A1"), {0, 10, 0}, 2);
    cad::Entity* single = h.ms().AddText(QStringLiteral("311"), {0, 15, 0}, 2);
    cad::Entity* mtext = h.ms().AddMText({0, 20, 0}, 10, QStringLiteral("111"));
    for (cad::Entity* e : {first, blank, letter, single, mtext, first})
        h.answerEntity(e->Handle());
    nameLandClassTexts(h.context);
    const QString t = h.app.transcript();
    EXPECT_EQ(t.count(QStringLiteral("-->")), 2) << t.toStdString();
    EXPECT_TRUE(t.contains(u("-->水田\r")));
    EXPECT_TRUE(t.contains(u("-->其他\r")));
    EXPECT_FALSE(t.contains(u("重复")));
    EXPECT_EQ(h.home.answers.remaining().size(), 1) << "the multi-line text ended the loop";
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());

    test::CadHost none;
    none.answerEntity(first->Handle());
    nameLandClassTexts(none.context);
    EXPECT_EQ(test::messageTexts(none.home),
              QStringList{u("请在[输出]菜单中的[通用文件名为空]下选择[新地类定义]文件！")});
}
