#include "app/registry.h"
#include "app/ui/form1.h"
#include "platform/commands.h"
#include "platform/windows.h"
#include "test_support.h"
#include "traverse/sheet.h"
#include "traverse/ui/sheet_widget.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {

struct Shown {
    Shown()
    {
        home.context.setSheet(&sheet);
        app::registerAllCommands(registry);
        form = std::make_unique<app::Form1>(home.context, registry, windows);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    test::TempHome home;
    traverse::TraverseSheet sheet;
    CommandRegistry registry;
    WindowRegistry windows;
    std::unique_ptr<app::Form1> form;
};

QLineEdit* box(const app::Form1& form, const QString& name)
{
    return form.findChild<QLineEdit*>(name);
}

// The words of the known-point header sit over their own boxes.
void expectHeadersOverColumns(const app::Form1& form)
{
    auto* header = form.findChild<traverse::KnownHeader*>(QStringLiteral("Label4(0)"));
    ASSERT_NE(header, nullptr);
    const int under[] = {3, 4, 5, 6, 10, 11, 12, 13};
    const QList<traverse::KnownHeader::Place> places = header->places();
    ASSERT_EQ(places.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QLineEdit* e = box(form, QStringLiteral("Text1(%1)").arg(under[i]));
        const int left = header->mapFromGlobal(e->mapToGlobal(QPoint(0, 0))).x();
        SCOPED_TRACE(places[i].word.toStdString());
        EXPECT_GE(places[i].rect.left(), left);
        EXPECT_LE(places[i].rect.right(), left + e->width());
    }
}

} // namespace

TEST(SheetLayout, CellsShowTheLongestValuesWholeAndHeadersFollowTheirColumns)
{
    Shown s;
    struct Case {
        const char* cell;
        const char* value;
    };
    const Case cases[] = {
        {"Text1(1)", "3381800.0004"}, {"Text1(2)", "3381800.0004"}, {"Text1(11)", "3381800.0004"},
        {"Text1(12)", "3381800.0004"}, {"Text1(6)", "1800.0004"},   {"Text5(1)", "147.5022"},
        {"Text5(8)", "147.5022"},      {"Text5(107)", "147.5022"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.cell);
        QLineEdit* e = box(*s.form, QString::fromUtf8(k.cell));
        ASSERT_NE(e, nullptr);
        EXPECT_GE(e->width(), traverse::widthShowing(e, QString::fromUtf8(k.value)));
    }
    expectHeadersOverColumns(*s.form);

    s.form->resize(s.form->width() + 400, s.form->height());
    QCoreApplication::processEvents();
    expectHeadersOverColumns(*s.form);
}
