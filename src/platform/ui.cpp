#include "ui.h"

namespace kelvor {

QString applicationTitle()
{
    return QStringLiteral("kelvor");
}

QString emptyTitle()
{
    return QString(0, QChar()); // empty, yet not null
}

QString shownTitle(const QString& title)
{
    return title.isNull() ? applicationTitle() : title;
}

QString iconName(Icon icon)
{
    switch (icon) {
    case Icon::None: return QStringLiteral("none");
    case Icon::Critical: return QStringLiteral("critical");
    case Icon::Question: return QStringLiteral("question");
    case Icon::Exclamation: return QStringLiteral("exclamation");
    case Icon::Information: return QStringLiteral("information");
    }
    return QString();
}

QString buttonsName(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK: return QStringLiteral("OK");
    case Buttons::OKCancel: return QStringLiteral("OKCancel");
    case Buttons::AbortRetryIgnore: return QStringLiteral("AbortRetryIgnore");
    case Buttons::YesNoCancel: return QStringLiteral("YesNoCancel");
    case Buttons::YesNo: return QStringLiteral("YesNo");
    case Buttons::RetryCancel: return QStringLiteral("RetryCancel");
    }
    return QString();
}

QString answerName(Answer answer)
{
    switch (answer) {
    case Answer::OK: return QStringLiteral("OK");
    case Answer::Cancel: return QStringLiteral("Cancel");
    case Answer::Abort: return QStringLiteral("Abort");
    case Answer::Retry: return QStringLiteral("Retry");
    case Answer::Ignore: return QStringLiteral("Ignore");
    case Answer::Yes: return QStringLiteral("Yes");
    case Answer::No: return QStringLiteral("No");
    }
    return QString();
}

} // namespace kelvor
