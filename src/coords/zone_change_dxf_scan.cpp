#include "zone_change_dxf_scan.h"

#include "line_stream.h"
#include "platform/errors.h"

namespace kelvor::coords::dxfzone {

namespace {

using namespace std::string_view_literals;

bool isXCode(std::string_view l) { return l == " 10"sv || l == " 11"sv; }
bool isYCode(std::string_view l) { return l == " 20"sv || l == " 21"sv; }

// Trimmed of blanks (not tabs), any letter case.
bool isWordTrimmedAnyCase(std::string_view l, std::string_view word)
{
    while (!l.empty() && l.front() == ' ')
        l.remove_prefix(1);
    while (!l.empty() && l.back() == ' ')
        l.remove_suffix(1);
    if (l.size() != word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        char c = l[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != word[i])
            return false;
    }
    return true;
}

bool isZeroCode(std::string_view l)
{
    while (!l.empty() && l.front() == ' ')
        l.remove_prefix(1);
    return l == "0"sv;
}

// The groups of one run, read as they always were: a code line and what
// belongs to it, a " 10"/" 20" pair converted in the entities.
class RunScan {
public:
    RunScan(std::string_view w, bool atEnd, bool loneCr, const Conversion& c, Run& r)
        : w_(w)
        , atEnd_(atEnd)
        , loneCr_(loneCr)
        , c_(c)
        , r_(r)
        , at_(r.from)
        , run_(r.from)
        , phase_(r.phase)
    {
    }

    void go()
    {
        for (;;) {
            const Mark m{at_, phase_, r_.out.size() + (at_ - run_), lines_, converted_};
            if (at_ < r_.headEnd)
                r_.head.push_back(m);
            if (at_ >= r_.limit)
                r_.tail.push_back(m);
            r_.stop = m;
            if (at_ >= r_.tailEnd) {
                r_.end = End::Overran;
                break;
            }
            if (phase_ == Phase::After) {
                r_.end = End::SectionEnd;
                break;
            }
            const int n = group();
            if (n <= 0) {
                r_.end = n == 0 ? End::FileEnd : n == NeedMore ? End::NeedMore : End::Failed;
                break;
            }
            at_ = l_[n - 1].next;
            lines_ += n;
        }
        r_.out.append(w_.substr(run_, r_.stop.pos - run_));
    }

private:
    static constexpr int NeedMore = -1, Failed = -2;
    using Line = LineInput::Line;
    using Found = LineInput::Found;

    std::string_view text(const Line& l) const { return w_.substr(l.start, l.length); }

    bool take(int i)
    {
        const Found f = LineInput::lineAt(w_, i == 0 ? at_ : l_[i - 1].next, atEnd_, l_[i], loneCr_);
        needMore_ = f == Found::NeedMore;
        return f == Found::Line;
    }

    int fail(FileLineError::Kind kind, qint64 line, std::string_view a = {}, std::string_view b = {})
    {
        r_.failure = kind;
        r_.failureLine = line;
        r_.failureText[0] = a;
        r_.failureText[1] = b;
        return Failed;
    }

    // A line that must be there is missing: the file is cut short, or the
    // group only reaches past the window.
    int missing(qint64 line) { return needMore_ ? NeedMore : fail(FileLineError::Truncated, line); }

    // The lines of the group at `at_`, 0 at the end of the file.
    int group()
    {
        if (!take(0))
            return needMore_ ? NeedMore : 0;
        const qint64 k = lines_ + 1; // line number of the code line
        if (phase_ == Phase::Before) {
            if (isWordTrimmedAnyCase(text(l_[0]), "ENTITIES"sv))
                phase_ = Phase::Entities;
            return 1;
        }
        if (!isXCode(text(l_[0]))) {
            if (!take(1))
                return needMore_ ? NeedMore : 1;
            if (isZeroCode(text(l_[0])) && isWordTrimmedAnyCase(text(l_[1]), "ENDSEC"sv)) {
                phase_ = Phase::After; // what follows the entities (objects: layouts, plot data) stays
                return 2;
            }
            if (!isYCode(text(l_[1])))
                return 2;
            return take(2) ? 3 : missing(k + 1);
        }
        if (!take(1))
            return missing(k);
        if (!take(2))
            return missing(k + 1);
        if (!isYCode(text(l_[2])))
            return 3;
        if (!take(3))
            return missing(k + 2);
        return convertPair(k);
    }

    int convertPair(qint64 k)
    {
        const std::string_view e = text(l_[1]), n = text(l_[3]);
        const std::optional<double> east = numberIn(e);
        if (!east)
            return fail(FileLineError::NotANumber, k + 1, e);
        const std::optional<double> north = numberIn(n);
        if (!north)
            return fail(FileLineError::NotANumber, k + 3, n);
        double newX = 0, newY = 0;
        try {
            changeZone(*north, *east, c_.l0, c_.l0new, c_.projection, newX, newY);
        } catch (const RunError&) {
            return fail(FileLineError::OutOfRange, k + 1, e, n);
        }
        Bytes& out = r_.out;
        out.append(w_.substr(run_, l_[1].start - run_));
        out.wrote(putNumberText(out.room(32), newY));
        const size_t eEnd = l_[1].start + l_[1].length;
        out.append(w_.substr(eEnd, l_[3].start - eEnd));
        out.wrote(putNumberText(out.room(32), newX));
        run_ = l_[3].start + l_[3].length;
        ++converted_;
        return 4;
    }

    std::string_view w_;
    bool atEnd_, loneCr_;
    const Conversion& c_;
    Run& r_;
    size_t at_, run_; // the next group; the first byte not yet in the output
    Phase phase_;
    qint64 lines_ = 0, converted_ = 0;
    Line l_[4];
    bool needMore_ = false;
};

} // namespace

void scanChunk(std::string_view w, bool atEnd, bool loneCr, const Conversion& c, Run& r) noexcept
{
    r.out.clear();
    r.head.clear();
    r.tail.clear();
    r.crash = nullptr;
    try {
        RunScan(w, atEnd, loneCr, c, r).go();
    } catch (...) {
        r.crash = std::current_exception();
    }
}

} // namespace kelvor::coords::dxfzone
