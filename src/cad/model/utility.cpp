#include "cad/model/utility.h"

#include "cad/model/document.h"
#include "cad/model/geom_snap.h"

#include "platform/scripted.h"

#include <cmath>

namespace kelvor::cad {

std::optional<double> numberOf(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<Point> pointOf(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(','));
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    double v[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<double> n = numberOf(parts[i]);
        if (!n)
            return std::nullopt;
        v[i] = *n;
    }
    return Point{v[0], v[1], v[2]};
}

bool isFinite(const Point& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

Input ScriptedInput::next(const QString& asking, const QString& prompt)
{
    QStringList kinds{asking, QStringLiteral("enter"), QStringLiteral("esc")};
    if (asking == QLatin1String("entity") || asking == QLatin1String("point"))
        kinds << QStringLiteral("keyword");
    if (asking == QLatin1String("keyword"))
        kinds << QStringLiteral("string");
    if (asking == QLatin1String("real") || asking == QLatin1String("integer"))
        kinds << QStringLiteral("keyword");
    const ScriptedAnswer a = queue_.take(kinds, prompt.isEmpty() ? QStringLiteral("the command line") : prompt);
    Input in;
    if (a.kind == QLatin1String("esc")) {
        in.kind = Input::Esc;
    } else if (a.kind == QLatin1String("enter")) {
        in.kind = Input::Enter;
    } else if (a.kind == QLatin1String("entity")) {
        const QString h = a.handle.isEmpty() ? a.text : a.handle;
        in.kind = h.isEmpty() ? Input::EmptyPick : Input::Value;
        in.handle = h;
        in.point = {a.x, a.y, a.z};
    } else if (a.kind == QLatin1String("point")) {
        in.kind = Input::Value;
        in.point = {a.x, a.y, a.z};
        if (!a.text.isEmpty()) { // "x,y[,z]" typed as text
            in.text = a.text; // typed: no object snap
            if (const std::optional<Point> p = pointOf(a.text))
                in.point = *p;
            else
                in.handle = QStringLiteral("keyword"); // no point: a keyword, or asked again
        }
    } else if (a.kind == QLatin1String("select")) {
        in.kind = Input::Value;
        in.handles = a.list.isEmpty() && !a.text.isEmpty() ? QStringList{a.text} : a.list;
    } else {
        in.kind = Input::Value;
        in.text = a.text;
        if (a.kind == QLatin1String("keyword") && asking != QLatin1String("keyword")
            && asking != QLatin1String("string"))
            in.handle = QStringLiteral("keyword"); // marks a keyword answer to a point or number
    }
    return in;
}

void Utility::Prompt(const QString& text)
{
    if (DocumentHost* host = doc_->host())
        host->appendTranscript(text);
}

Input Utility::ask(const QString& asking, const QString& prompt)
{
    DocumentHost* app = doc_->host();
    if (!app)
        fault(fail::Failed, QStringLiteral("no one answers this drawing's command line"));
    app->appendTranscript(prompt);
    return app->input().next(asking, prompt);
}

void Utility::InitializeUserInput(int bits, const QString& keywords)
{
    bits_ = bits;
    keywords_ = keywords.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString matchKeyword(const QString& answer, const QStringList& keywords)
{
    const QString a = answer.trimmed();
    if (a.isEmpty())
        return {};
    for (const QString& k : keywords)
        if (k.compare(a, Qt::CaseInsensitive) == 0)
            return k;
    // the capital letters of a keyword are its abbreviation ("tHrough" -> H);
    // they come before a leading part ("e" is "Edit vertex", not "eXit")
    auto caps = [](const QString& k) {
        QString c;
        for (QChar ch : k)
            if (ch.isUpper() || ch.isDigit())
                c += ch;
        return c;
    };
    for (int pass = 0; pass < 2; ++pass) {
        QString found;
        for (const QString& k : keywords) {
            const QString c = caps(k);
            const bool fits = pass == 0 ? (!c.isEmpty() && c.compare(a, Qt::CaseInsensitive) == 0)
                                        : k.startsWith(a, Qt::CaseInsensitive);
            if (!fits || found == k)
                continue;
            if (!found.isEmpty())
                return {}; // fits two: asked again
            found = k;
        }
        if (!found.isEmpty())
            return found;
    }
    return {};
}

namespace {

[[noreturn]] void cancelled()
{
    fault(fail::Cancelled, QStringLiteral("cancelled"));
}

[[noreturn]] void nullInput()
{
    fault(fail::NullInput, QStringLiteral("no value given"));
}

} // namespace

int Utility::beginQuestion()
{
    const int bits = bits_;
    bits_ = 0;
    active_ = keywords_;
    keywords_.clear();
    return bits;
}

void Utility::keywordGiven(const QString& keyword)
{
    lastKeyword_ = keyword;
    fault(fail::Keyword, QStringLiteral("keyword"));
}

bool Utility::settled(const Input& in, int bits)
{
    if (in.kind == Input::Enter) {
        if (bits & 1)
            return false;
        nullInput();
    }
    if (in.handle == QLatin1String("keyword")) {
        const QString k = matchKeyword(in.text);
        if (k.isEmpty())
            return false;
        keywordGiven(k);
    }
    return true;
}

template <typename T, typename Read>
T Utility::askNumber(const QString& asking, const QString& prompt, Read read)
{
    const int bits = beginQuestion();
    while (true) {
        const Input in = ask(asking, prompt);
        if (in.kind == Input::Esc)
            cancelled();
        if (!settled(in, bits))
            continue;
        bool ok = false;
        const T v = read(in.text.trimmed(), &ok);
        if (!ok) {
            if (const QString k = matchKeyword(in.text); !k.isEmpty())
                keywordGiven(k);
            continue; // asked again, as the command line does
        }
        if (((bits & 2) && v == 0) || ((bits & 4) && v < 0))
            continue;
        return v;
    }
}

Point Utility::GetPoint(const QString& prompt)
{
    const int bits = beginQuestion();
    while (true) {
        const Input in = ask(QStringLiteral("point"), prompt);
        if (in.kind == Input::Esc || in.kind == Input::EmptyPick)
            cancelled();
        if (!settled(in, bits) || !isFinite(in.point))
            continue;
        if (in.text.isEmpty()) // a pick lands where the running object snaps put it
            return snapPoint(*doc_, in.point, doc_->GetVariable(QStringLiteral("OSMODE")).toInt(), in.aperture);
        return in.point;
    }
}

Entity* Utility::GetEntity(Point& pickPoint, const QString& prompt)
{
    beginQuestion();
    const Input in = ask(QStringLiteral("entity"), prompt);
    if (in.kind == Input::Esc || in.kind == Input::EmptyPick)
        cancelled();
    if (in.kind == Input::Enter)
        nullInput();
    if (in.handle == QLatin1String("keyword"))
        keywordGiven(matchKeyword(in.text));
    bool ok = false;
    Entity* e = doc_->findHandle(in.handle.toULongLong(&ok, 16));
    if (!ok || !e || !e->Visible() || !e->owner()->isModelSpace())
        cancelled(); // nothing there to pick
    pickPoint = in.point;
    return e;
}

QString Utility::GetString(bool allowBlanks, const QString& prompt)
{
    beginQuestion();
    const Input in = ask(QStringLiteral("string"), prompt);
    if (in.kind == Input::Esc)
        cancelled();
    if (in.kind == Input::Enter)
        return {};
    if (allowBlanks)
        return in.text;
    const int blank = in.text.indexOf(QLatin1Char(' '));
    return blank < 0 ? in.text : in.text.left(blank);
}

double Utility::GetReal(const QString& prompt)
{
    return askNumber<double>(QStringLiteral("real"), prompt, [](const QString& text, bool* ok) {
        const std::optional<double> v = numberOf(text);
        *ok = v.has_value();
        return v.value_or(0);
    });
}

int Utility::GetInteger(const QString& prompt)
{
    return askNumber<int>(QStringLiteral("integer"), prompt,
                          [](const QString& text, bool* ok) { return text.toInt(ok); });
}

QString Utility::GetKeyword(const QString& prompt)
{
    const int bits = beginQuestion();
    while (true) {
        const Input in = ask(QStringLiteral("keyword"), prompt);
        if (in.kind == Input::Esc)
            cancelled();
        if (in.kind == Input::Enter) {
            if (bits & 1)
                continue;
            return {};
        }
        if (active_.isEmpty())
            return in.text.trimmed();
        const QString k = matchKeyword(in.text);
        if (!k.isEmpty())
            return k;
        // not a keyword: asked again
    }
}

double Utility::AngleFromXAxis(const Point& from, const Point& to) const
{
    needFinite(from);
    needFinite(to);
    double a = std::atan2(to.y - from.y, to.x - from.x);
    if (a < 0)
        a += 2 * M_PI;
    return a;
}

Point Utility::PolarPoint(const Point& p, double angle, double distance) const
{
    const Point q{p.x + distance * std::cos(angle), p.y + distance * std::sin(angle), p.z};
    needFinite(q);
    return q;
}

} // namespace kelvor::cad
