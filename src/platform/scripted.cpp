#include "scripted.h"

#include "paths.h"

namespace kelvor {

ScriptedAnswer ScriptedAnswer::fromJson(const QJsonObject& o)
{
    ScriptedAnswer a;
    a.kind = o.value(QStringLiteral("kind")).toString();
    auto textOf = [](const QJsonValue& v) {
        if (v.isDouble())
            return QString::number(v.toDouble(), 'g', 17);
        if (v.isBool())
            return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        return v.toString();
    };
    for (const char* key : {"value", "text", "path", "button", "answer"}) {
        if (o.contains(QLatin1String(key))) {
            const QJsonValue v = o.value(QLatin1String(key));
            if (v.isArray()) {
                for (const auto& e : v.toArray())
                    a.list.append(textOf(e));
                a.text = a.list.value(0);
            } else {
                a.text = textOf(v);
            }
            break;
        }
    }
    for (const char* key : {"paths", "handles"}) {
        if (o.contains(QLatin1String(key))) {
            a.list.clear();
            for (const auto& e : o.value(QLatin1String(key)).toArray())
                a.list.append(e.toString());
        }
    }
    if (a.kind == QLatin1String("open") && a.list.isEmpty() && !a.text.isEmpty())
        a.list.append(a.text);
    if (o.contains(QStringLiteral("handle")))
        a.handle = o.value(QStringLiteral("handle")).toString();
    auto readPoint = [&](const QJsonValue& v) {
        if (v.isArray()) {
            const QJsonArray p = v.toArray();
            a.x = p.at(0).toDouble();
            a.y = p.at(1).toDouble();
            a.z = p.at(2).toDouble();
        }
    };
    if (o.contains(QStringLiteral("x"))) {
        a.x = o.value(QStringLiteral("x")).toDouble();
        a.y = o.value(QStringLiteral("y")).toDouble();
        a.z = o.value(QStringLiteral("z")).toDouble();
    }
    readPoint(o.value(QStringLiteral("point")));
    readPoint(o.value(QStringLiteral("pick")));
    return a;
}

QJsonObject ScriptedAnswer::toJson() const
{
    QJsonObject o{{QStringLiteral("kind"), kind}};
    if (!text.isEmpty())
        o.insert(QStringLiteral("value"), text);
    if (!list.isEmpty())
        o.insert(QStringLiteral("list"), QJsonArray::fromStringList(list));
    if (kind == QLatin1String("point") || kind == QLatin1String("entity"))
        o.insert(QStringLiteral("point"), QJsonArray{x, y, z});
    if (!handle.isEmpty())
        o.insert(QStringLiteral("handle"), handle);
    return o;
}

ScriptMismatch::ScriptMismatch(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message)
{
}

ScriptedAnswer AnswerQueue::take(const QStringList& kinds, const QString& asking)
{
    if (q_.empty())
        throw ScriptMismatch(QStringLiteral("%1 asked for an answer (%2) but none is left")
                                 .arg(asking, kinds.join(QLatin1Char('/'))));
    if (!kinds.contains(q_.front().kind))
        throw ScriptMismatch(QStringLiteral("%1 asked for an answer (%2) but the next one is \"%3\"")
                                 .arg(asking, kinds.join(QLatin1Char('/')), q_.front().kind));
    ScriptedAnswer a = q_.front();
    q_.pop_front();
    return a;
}

QJsonArray AnswerQueue::remaining() const
{
    QJsonArray out;
    for (const auto& a : q_)
        out.append(a.toJson());
    return out;
}

ScriptedUi::ScriptedUi(AnswerQueue& queue)
    : queue_(queue)
    , now_(QDateTime(QDate(2007, 4, 25), QTime(9, 0)))
{
}

namespace {

Answer parseAnswer(const QString& name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("ok")) return Answer::OK;
    if (n == QLatin1String("cancel")) return Answer::Cancel;
    if (n == QLatin1String("abort")) return Answer::Abort;
    if (n == QLatin1String("retry")) return Answer::Retry;
    if (n == QLatin1String("ignore")) return Answer::Ignore;
    if (n == QLatin1String("yes")) return Answer::Yes;
    if (n == QLatin1String("no")) return Answer::No;
    throw ScriptMismatch(QStringLiteral("unknown button answer \"%1\"").arg(name));
}

bool allowed(Buttons b, Answer a)
{
    switch (b) {
    case Buttons::OK: return a == Answer::OK;
    case Buttons::OKCancel: return a == Answer::OK || a == Answer::Cancel;
    case Buttons::AbortRetryIgnore: return a == Answer::Abort || a == Answer::Retry || a == Answer::Ignore;
    case Buttons::YesNoCancel: return a == Answer::Yes || a == Answer::No || a == Answer::Cancel;
    case Buttons::YesNo: return a == Answer::Yes || a == Answer::No;
    case Buttons::RetryCancel: return a == Answer::Retry || a == Answer::Cancel;
    }
    return false;
}

} // namespace

Answer ScriptedUi::message(const QString& text, const QString& title, Icon icon, Buttons buttons, int defaultButton)
{
    // recorded as the person reads it
    QJsonObject e{{QStringLiteral("kind"), QStringLiteral("message")},
                  {QStringLiteral("text"), paths::shownInText(text)},
                  {QStringLiteral("title"), shownTitle(title)},
                  {QStringLiteral("icon"), iconName(icon)},
                  {QStringLiteral("buttons"), buttonsName(buttons)}};
    if (defaultButton != 1)
        e.insert(QStringLiteral("default"), defaultButton);
    Answer ans = Answer::OK;
    if (buttons != Buttons::OK) {
        events_.append(e); // recorded even when the script runs short
        const ScriptedAnswer a = queue_.take({QStringLiteral("button")},
                                             QStringLiteral("message box \"%1\"").arg(text));
        ans = parseAnswer(a.text);
        if (!allowed(buttons, ans))
            throw ScriptMismatch(QStringLiteral("message box \"%1\" has no button %2").arg(text, a.text));
        e.insert(QStringLiteral("answer"), answerName(ans));
        events_.replace(events_.size() - 1, e);
        return ans;
    }
    e.insert(QStringLiteral("answer"), answerName(ans));
    events_.append(e);
    return ans;
}

QString ScriptedUi::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    QJsonObject e{{QStringLiteral("kind"), QStringLiteral("input")},
                  {QStringLiteral("prompt"), paths::shownInText(prompt)},
                  {QStringLiteral("title"), shownTitle(title)},
                  {QStringLiteral("default"), defaultText}};
    events_.append(e);
    const ScriptedAnswer a = queue_.take({QStringLiteral("input"), QStringLiteral("button")},
                                         QStringLiteral("input box \"%1\"").arg(prompt));
    // A "button" answer of Cancel cancels; the input box gives "".
    const QString answer = a.kind == QLatin1String("input") ? a.text : QString();
    e.insert(QStringLiteral("answer"), answer);
    events_.replace(events_.size() - 1, e);
    return answer;
}

QStringList ScriptedUi::openFiles(const FileDialogRequest& r)
{
    QJsonObject e{{QStringLiteral("kind"), QStringLiteral("open")},
                  {QStringLiteral("title"), r.title},
                  {QStringLiteral("filter"), r.filter}};
    events_.append(e);
    const ScriptedAnswer a = queue_.take({QStringLiteral("open"), QStringLiteral("button")},
                                         QStringLiteral("open dialog \"%1\"").arg(r.title));
    QStringList out;
    if (a.kind == QLatin1String("open")) {
        for (const QString& p : a.list) {
            if (!p.isEmpty())
                out.append(paths::resolve(p));
        }
    }
    if (!r.multiSelect && out.size() > 1)
        out = out.mid(0, 1);
    e.insert(QStringLiteral("answer"), QJsonArray::fromStringList(out));
    events_.replace(events_.size() - 1, e);
    return out;
}

QString ScriptedUi::saveFile(const FileDialogRequest& r)
{
    QJsonObject e{{QStringLiteral("kind"), QStringLiteral("save")},
                  {QStringLiteral("title"), r.title},
                  {QStringLiteral("filter"), r.filter}};
    events_.append(e);
    const ScriptedAnswer a = queue_.take({QStringLiteral("save"), QStringLiteral("button")},
                                         QStringLiteral("save dialog \"%1\"").arg(r.title));
    const QString out = a.kind == QLatin1String("save") && !a.text.isEmpty() ? paths::resolve(a.text) : QString();
    e.insert(QStringLiteral("answer"), out);
    events_.replace(events_.size() - 1, e);
    return out;
}

QString ScriptedUi::pickFolder(const QString& prompt)
{
    QJsonObject e{{QStringLiteral("kind"), QStringLiteral("folder")}, {QStringLiteral("prompt"), prompt}};
    events_.append(e);
    const ScriptedAnswer a = queue_.take({QStringLiteral("folder"), QStringLiteral("button")},
                                         QStringLiteral("folder picker \"%1\"").arg(prompt));
    const QString out = a.kind == QLatin1String("folder") ? a.text : QString();
    e.insert(QStringLiteral("answer"), out);
    events_.replace(events_.size() - 1, e);
    return out;
}

void ScriptedUi::openTextWindow(const QString& path)
{
    textFiles_.append(path);
    events_.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("text_window")},
                               {QStringLiteral("path"), path}});
}

void ScriptedUi::setCaption(const QString& text)
{
    events_.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("caption")}, {QStringLiteral("text"), text}});
}

QStringList ScriptedUi::captions() const
{
    QStringList out;
    for (const QJsonValue& e : events_) {
        if (e[QStringLiteral("kind")].toString() == QStringLiteral("caption"))
            out.append(e[QStringLiteral("text")].toString());
    }
    return out;
}

void ScriptedUi::setBusy(bool busy)
{
    busySpells_ += busy && !busy_;
    busy_ = busy;
}

void ScriptedUi::beep()
{
    ++beeps_;
    events_.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("beep")}});
}

QJsonArray ScriptedUi::messages() const
{
    QJsonArray out;
    for (const auto& e : events_) {
        if (e.toObject().value(QStringLiteral("kind")).toString() == QLatin1String("message"))
            out.append(e);
    }
    return out;
}

void ScriptedUi::clearRecord()
{
    events_ = QJsonArray();
    textFiles_.clear();
    beeps_ = 0;
}

} // namespace kelvor
