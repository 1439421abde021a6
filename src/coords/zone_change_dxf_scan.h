#pragma once
// The chunks of a DXF zone change (see zone_change_dxf.cpp): one run reads
// the groups of one chunk of the window as the whole file was always read,
// converts its pairs into a buffer of its own and notes where its groups
// start, so that the runs of neighbouring chunks can be matched up.
#include "gauss.h"
#include "zone_change.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <vector>

namespace kelvor::coords::dxfzone {

// A run's output, kept from window to window.
class Bytes {
public:
    size_t size() const { return size_; }
    void clear() { size_ = 0; }
    char* room(size_t n)
    {
        if (cap_ - size_ < n)
            grow(n);
        return data_.get() + size_;
    }
    void wrote(const char* end) { size_ = size_t(end - data_.get()); }
    void append(std::string_view b)
    {
        if (b.empty())
            return;
        std::memcpy(room(b.size()), b.data(), b.size());
        size_ += b.size();
    }
    std::string_view view(size_t from, size_t to) const { return {data_.get() + from, to - from}; }

private:
    void grow(size_t n)
    {
        const size_t cap = std::max({cap_ * 2, size_ + n, size_t(1) << 16});
        std::unique_ptr<char[]> d(new char[cap]);
        if (size_ > 0)
            std::memcpy(d.get(), data_.get(), size_);
        data_ = std::move(d);
        cap_ = cap;
    }
    std::unique_ptr<char[]> data_;
    size_t size_ = 0, cap_ = 0;
};

enum class Phase : unsigned char { Before, Entities, After };

// A place where a group starts, with what the run had done before it.
struct Mark {
    size_t pos = 0; // in the window
    Phase phase = Phase::Before;
    size_t written = 0; // bytes of the run's output
    qint64 lines = 0;   // from the run's start
    qint64 converted = 0;
};

// Why a run stopped at its last mark: past its chunk and the overlap, at the
// end of the entities, at the end of the window, of the file, or at a fault.
enum class End { Overran, SectionEnd, NeedMore, FileEnd, Failed };

// One chunk: where its run starts and what it found.
struct Run {
    size_t from = 0;
    Phase phase = Phase::Before;
    size_t headEnd = 0; // marks before this go to `head`
    size_t limit = 0;   // marks from here on go to `tail`, and the run
    size_t tailEnd = 0; // stops at the first one from here on
    Bytes out;
    std::vector<Mark> head, tail;
    Mark stop;
    End end = End::FileEnd;
    FileLineError::Kind failure = FileLineError::Truncated;
    qint64 failureLine = 0; // from the run's start
    std::string_view failureText[2];
    std::exception_ptr crash;
};

// The meridians and series of the change.
struct Conversion {
    double l0, l0new;
    Projection projection;
};

// Runs `r` over window `w` from r.from (atEnd: the file ends with the window;
// loneCr as LineInput::loneCr). Never throws: running out of memory lands
// in r.crash.
void scanChunk(std::string_view w, bool atEnd, bool loneCr, const Conversion& c, Run& r) noexcept;

} // namespace kelvor::coords::dxfzone
