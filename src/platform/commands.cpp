#include "commands.h"

#include "context.h"

namespace kelvor {

void CommandRegistry::add(const QString& item, Handler handler)
{
    auto it = entries_.find(item);
    if (it != entries_.end() && !it->second.placeholder)
        throw std::logic_error("a second handler for the command item " + item.toStdString());
    entries_[item] = Entry{std::move(handler), false, owner_};
}

void CommandRegistry::substitute(const QString& item, Handler handler)
{
    auto it = entries_.find(item);
    if (it == entries_.end())
        throw std::logic_error("no command item " + item.toStdString() + " to stand in for");
    it->second.handler = std::move(handler);
}

QString CommandRegistry::owner(const QString& item) const
{
    auto it = entries_.find(item);
    return it == entries_.end() ? QString() : it->second.owner;
}

void CommandRegistry::addPlaceholder(const QString& item, const QString& caption)
{
    auto it = entries_.find(item);
    if (it != entries_.end() && !it->second.placeholder)
        return; // never hide a built command behind a placeholder
    const QString name = caption.isEmpty() ? item : caption;
    entries_[item] = Entry{[name](Context& ctx) {
                               ctx.ui().message(QStringLiteral("“%1”功能尚未提供。").arg(name),
                                                QStringLiteral("提示"), Icon::Exclamation);
                           },
                           true, QString()};
}

bool CommandRegistry::has(const QString& item) const
{
    return entries_.count(item) != 0;
}

bool CommandRegistry::isPlaceholder(const QString& item) const
{
    auto it = entries_.find(item);
    return it != entries_.end() && it->second.placeholder;
}

QStringList CommandRegistry::items() const
{
    QStringList out;
    for (const auto& e : entries_)
        out.append(e.first);
    return out;
}

bool CommandRegistry::run(const QString& item, Context& ctx) const
{
    auto it = entries_.find(item);
    if (it == entries_.end())
        return false;
    it->second.handler(ctx);
    return true;
}

} // namespace kelvor
