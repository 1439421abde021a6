// The DXF zone change on all cores. The part of the file read so far (the
// window) is cut into chunks at line starts; the chunks are converted by a
// few threads, each into a buffer of its own, and the buffers written in
// order. Only the first chunk knows where its groups start and in which
// section it lies; the others guess (a group at their first line, in the
// entities once the word was seen before them) and note where their groups
// start near their beginning. The chunk before runs on a little past its
// end: where both runs start a group at the same place in the same section
// they agree from there on, so the next chunk is taken from that place.
// Where they never meet, what is left of the window is cut again from the
// last place known.
#include "zone_change.h"

#include "line_stream.h"
#include "zone_change_dxf_scan.h"
#include "platform/paths.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <cstdint>
#include <functional>
#include <thread>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace kelvor::coords {

namespace {

using namespace std::string_view_literals;
using namespace dxfzone;

// The window repaints its bar at most this often; progress between is dropped.
class ProgressPacer {
public:
    explicit ProgressPacer(DxfProgress* p)
        : progress_(p)
    {
    }
    void maybe(qint64 bytesRead)
    {
        if (!progress_)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(50))
            return;
        last_ = now;
        progress_->advance(bytesRead);
    }

private:
    DxfProgress* progress_;
    std::chrono::steady_clock::time_point last_{};
};

// Helper threads kept for one conversion. The chunks of a round are taken
// in turn by whichever thread is free, the calling one included, so that a
// helper the system leaves waiting holds up little. A ticket names the round,
// its number of chunks and the next chunk, so that a helper late from one
// round can never take a chunk of the next.
class Crew {
public:
    explicit Crew(int helpers)
    {
        // Fewer helpers when the system gives no more threads; the caller works on.
        try {
            for (int i = 0; i < helpers; ++i)
                threads_.emplace_back([this] { serve(); });
        } catch (const std::system_error&) {
        }
    }
    ~Crew()
    {
        stop_ = true;
        round_.fetch_add(1);
        round_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }
    Crew(const Crew&) = delete;
    Crew& operator=(const Crew&) = delete;

    // job(0) … job(n - 1), each once; returns when all are done. job must not throw.
    void run(int n, const std::function<void(int)>& job)
    {
        const std::uint32_t round = round_.load() + 1;
        job_ = &job;
        finished_ = 0;
        next_ = ticket(round, n, 0);
        round_ = round;
        round_.notify_all();
        work(round);
        for (int f; (f = finished_.load()) < n;)
            finished_.wait(f);
    }

private:
    static constexpr int Bits = 20; // chunks per round below 2^20
    static std::uint64_t ticket(std::uint32_t round, int n, int chunk)
    {
        return std::uint64_t(round) << (2 * Bits) | std::uint64_t(n) << Bits | std::uint64_t(chunk);
    }

    void serve()
    {
        std::uint32_t seen = 0;
        for (;;) {
            round_.wait(seen);
            seen = round_.load();
            if (stop_)
                return;
            work(seen);
        }
    }

    void work(std::uint32_t round)
    {
        const std::uint64_t mask = (std::uint64_t(1) << Bits) - 1;
        std::uint64_t t = next_.load();
        for (;;) {
            const int n = int(t >> Bits & mask), chunk = int(t & mask);
            if (std::uint32_t(t >> (2 * Bits)) != (round & 0xFFFFFF) || chunk >= n)
                return;
            if (!next_.compare_exchange_weak(t, t + 1))
                continue;
            (*job_)(chunk);
            if (finished_.fetch_add(1) + 1 == n)
                finished_.notify_one();
            t = next_.load();
        }
    }

    std::vector<std::thread> threads_;
    std::atomic<std::uint32_t> round_{0};
    std::atomic<std::uint64_t> next_{0};
    std::atomic<int> finished_{0};
    std::atomic<bool> stop_{false};
    const std::function<void(int)>* job_ = nullptr;
};

// Reads the source window by window, converts each in chunks, writes the
// chunks' agreed output in order.
class DxfZoneChanger {
public:
    DxfZoneChanger(const QString& src, const QString& dst, const Conversion& c, const DxfSplit& split,
                   DxfProgress* progress)
        : in_(src)
        , out_(dst)
        , conv_(c)
        , progress_(progress)
        , pacer_(progress)
        , threads_(split.threads > 0 ? split.threads : std::clamp(QThread::idealThreadCount(), 1, 8))
        , runs_(size_t(threads_ * ChunksPerThread))
        , chunk_(size_t(std::max<qint64>(split.chunkBytes, 1)))
        , overlap_(std::clamp<size_t>(chunk_ / 64, 256, 16384))
        , readBytes_(qint64(chunk_ * runs_.size()))
    {
    }

    qint64 convert()
    {
        in_.more(readBytes_);
        for (;;) {
            const std::string_view w = in_.window();
            if (phase_ == Phase::After) {
                out_.write(w);
                in_.consume(w.size());
                if (!in_.more(readBytes_))
                    break;
                continue;
            }
            size_t at = 0;
            End end;
            while ((end = round(w, at)) == End::Overran)
                pacer_.maybe(in_.bytesRead() + qint64(at));
            if (end == End::SectionEnd) {
                out_.write(w.substr(at));
                at = w.size();
            }
            in_.consume(at);
            if (end == End::FileEnd)
                break;
            // A group longer than a read: read as much again, not a scan per read.
            if (!in_.more(at == 0 ? std::max(readBytes_, qint64(w.size())) : readBytes_))
                break;
            if (end == End::NeedMore)
                pacer_.maybe(in_.bytesRead());
        }
        out_.commit();
        if (progress_)
            progress_->advance(in_.bytesRead());
        return converted_;
    }

private:
    // Converts the window from `at` (a group start) in chunks and writes what
    // they agree on; `at` moves to where the last agreed run stopped.
    End round(std::string_view w, size_t& at)
    {
        const int n = cut(w, at);
        runAll(w, n);
        for (int i = 0; i < n; ++i)
            if (runs_[size_t(i)].crash)
                std::rethrow_exception(runs_[size_t(i)].crash);
        Mark from = runs_[0].head.front();
        for (int i = 0;; ++i) {
            const Run& r = runs_[size_t(i)];
            const qint64 lineBase = lines_ - from.lines; // lines before the run's start
            const auto [upTo, next] = i + 1 < n ? agreement(r, from, runs_[size_t(i) + 1])
                                                : std::pair<const Mark*, const Mark*>{};
            const Mark& to = upTo ? *upTo : r.stop;
            out_.write(r.out.view(from.written, to.written));
            lines_ += to.lines - from.lines;
            converted_ += to.converted - from.converted;
            if (upTo) {
                from = *next;
                continue;
            }
            at = to.pos;
            phase_ = to.phase;
            if (r.end == End::Failed)
                throw failure(r, lineBase);
            return r.end;
        }
    }

    // The first place after `from` where run r and the next run start the same group.
    static std::pair<const Mark*, const Mark*> agreement(const Run& r, const Mark& from, const Run& next)
    {
        for (const Mark& a : r.tail) {
            if (a.pos < from.pos)
                continue;
            const auto b = std::lower_bound(next.head.begin(), next.head.end(), a.pos,
                                            [](const Mark& m, size_t pos) { return m.pos < pos; });
            if (b != next.head.end() && b->pos == a.pos && b->phase == a.phase)
                return {&a, &*b};
        }
        return {};
    }

    static FileLineError failure(const Run& r, qint64 lineBase)
    {
        QString text;
        if (r.failure != FileLineError::Truncated)
            text = lineText(r.failureText[0]);
        if (r.failure == FileLineError::OutOfRange)
            text += QStringLiteral(", ") + lineText(r.failureText[1]);
        return FileLineError(r.failure, lineBase + r.failureLine, text);
    }

    // Sets the runs of the chunks of the window from `at`; returns how many.
    int cut(std::string_view w, size_t at)
    {
        const size_t rest = w.size() - at;
        int n = int(std::clamp<size_t>((rest + chunk_ - 1) / chunk_, 1, runs_.size()));
        // Chunks after the word guess that they lie in the entities.
        const size_t entities = phase_ == Phase::Before ? w.find("ENTITIES"sv, at) : w.npos;
        size_t start = at;
        for (int i = 0; i < n; ++i) {
            Run& r = runs_[size_t(i)];
            r.from = start;
            r.phase = i > 0 && entities < start ? Phase::Entities : phase_;
            r.headEnd = i == 0 ? start + 1 : start + overlap_;
            size_t next = w.size();
            if (i + 1 < n) {
                const size_t target = std::max(at + rest * size_t(i + 1) / size_t(n), start);
                const void* lf = std::memchr(w.data() + target, '\n', w.size() - target);
                next = lf ? size_t(static_cast<const char*>(lf) - w.data()) + 1 : w.size();
                if (next >= w.size())
                    n = i + 1;
            }
            r.limit = i + 1 < n ? next : SIZE_MAX;
            r.tailEnd = i + 1 < n ? next + overlap_ : SIZE_MAX;
            start = next;
        }
        return n;
    }

    void runAll(std::string_view w, int n)
    {
        const std::function<void(int)> job = [this, w, atEnd = in_.atEnd(), loneCr = in_.loneCr()](int i) {
            scanChunk(w, atEnd, loneCr, conv_, runs_[size_t(i)]);
        };
        if (n == 1) {
            job(0);
            return;
        }
        if (!crew_)
            crew_ = std::make_unique<Crew>(threads_ - 1);
        crew_->run(n, job);
    }

    LineInput in_;
    LineOutput out_;
    const Conversion conv_;
    DxfProgress* progress_;
    ProgressPacer pacer_;
    // Several chunks a thread, so that one the system leaves waiting holds up little.
    static constexpr int ChunksPerThread = 4;
    const int threads_;
    std::vector<Run> runs_;
    const size_t chunk_, overlap_;
    const qint64 readBytes_;
    std::unique_ptr<Crew> crew_; // after the runs: gone before them
    Phase phase_ = Phase::Before;
    qint64 lines_ = 0, converted_ = 0;
};

} // namespace

qint64 convertDxfZone(const QString& source, const QString& target, double l0, double l0new,
                      const Projection& projection, DxfProgress* progress, const DxfSplit& split)
{
    const QString src = paths::resolve(source);
    const QString dst = paths::resolve(target);
    if (sameFile(src, dst))
        throw FileLineError(FileLineError::SameFile, 0);
    return DxfZoneChanger(src, dst, Conversion{l0, l0new, projection}, split, progress).convert();
}

} // namespace kelvor::coords
