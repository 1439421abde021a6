// The clean-up commands on the scenarios' drawing qc.dxf, as read from the file.
#include "cad_host.h"
#include "relief/drawing_cleanup.h"

#include <gtest/gtest.h>
#include <map>

using namespace kelvor;
using namespace kelvor::relief;
using test::u;

namespace {

struct FixtureHost : test::CadHost {
    FixtureHost()
    {
        app.DocumentsOpen(QStringLiteral(KELVOR_TEST_DIR "/../e2e/drawings/qc.dxf"));
        for (cad::Entity* e : ms().entities())
            byHandle[e->Handle()] = e;
    }
    // Taken before the run: erased entities are no longer found by handle.
    std::map<QString, cad::Entity*> byHandle;
    cad::Entity* at(const char* handle) { return byHandle.at(u(handle)); }
};

} // namespace

TEST(QcFixture, QualityControl)
{
    FixtureHost h;
    h.answer(QStringLiteral("string"), QStringLiteral("1"));
    massboss_Click(h.context);
    const struct {
        const char* handle;
        const char* layer;
    } layers[] = {{"31", "gcd"}, {"32", "gcd"}, {"33", "gcd"}, {"34", "jmd"}, {"35", "lad"}};
    for (const auto& c : layers)
        EXPECT_EQ(h.at(c.handle)->Layer(), u(c.layer)) << c.handle;
    EXPECT_TRUE(h.at("36")->isErased());
    EXPECT_TRUE(h.at("37")->isErased());
    EXPECT_FALSE(h.doc().Layers().contains(QStringLiteral("LAF")));
    const struct {
        const char* handle;
        double height;
    } texts[] = {{"38", 1.75}, {"39", 1.75}, {"3A", 3}, {"3B", 3}, {"3C", 3}, {"3D", 3}};
    for (const auto& c : texts)
        EXPECT_EQ(h.at(c.handle)->Height(), c.height) << c.handle;
    EXPECT_EQ(h.at("38")->ScaleFactor(), 1.0);
}

TEST(QcFixture, RedundantPolylinesAndNotes)
{
    FixtureHost h;
    h.answerSelect({"41", "42", "43", "44", "45", "48"});
    deletelingbianchang_Click(h.context);
    EXPECT_EQ(h.app.transcript(), u("共处理:1个"));
    EXPECT_TRUE(h.at("41")->isErased());
    for (const char* kept : {"42", "43", "44", "45", "48"})
        EXPECT_FALSE(h.at(kept)->isErased()) << kept;

    yuaddkuaohao_Click(h.context);
    EXPECT_EQ(h.at("3E")->Height(), 1.5);
    EXPECT_EQ(h.at("3E")->Rotation(), 0);
    EXPECT_EQ(h.at("3F")->TextString(), u("（鱼）"));
    EXPECT_EQ(h.at("40")->Height(), 1.75);
    EXPECT_EQ(h.at("38")->Height(), 1.75);
    EXPECT_EQ(h.at("3D")->Height(), 3);
}
