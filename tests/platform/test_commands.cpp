#include "platform/commands.h"
#include "platform/context.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace kelvor;

namespace {

CommandRegistry::Handler recorder(QStringList& ran, const QString& name)
{
    return [&ran, name](Context&) { ran.append(name); };
}

} // namespace

TEST(CommandRegistry, OneHandlerPerItemAPlaceholderGivesWayOnce)
{
    test::TempHome home;
    QStringList ran;
    CommandRegistry r;
    r.addPlaceholder(QStringLiteral("a"), QStringLiteral("甲"));
    r.setOwner(QStringLiteral("cass"));
    r.add(QStringLiteral("a"), recorder(ran, QStringLiteral("first")));
    EXPECT_FALSE(r.isPlaceholder(QStringLiteral("a")));
    EXPECT_EQ(r.owner(QStringLiteral("a")), QStringLiteral("cass"));
    // a second real handler is refused and the first stays
    EXPECT_THROW(r.add(QStringLiteral("a"), recorder(ran, QStringLiteral("second"))), std::logic_error);
    // nor does a placeholder hide a built command
    r.addPlaceholder(QStringLiteral("a"));
    r.run(QStringLiteral("a"), home.context);
    EXPECT_EQ(ran, QStringList{QStringLiteral("first")});
    EXPECT_EQ(r.owner(QStringLiteral("b")), QString());
    EXPECT_THROW(r.substitute(QStringLiteral("b"), recorder(ran, QStringLiteral("b"))), std::logic_error);
}
