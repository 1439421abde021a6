#include "cad/model/spatial_index.h"

#include "cad/model/document.h"

#include <algorithm>
#include <cmath>

namespace kelvor::cad {

namespace {
constexpr long long kMaxCellsPerEntity = 256;
constexpr int kMaxCellsPerSide = 4096;
} // namespace

// The cell of a place along one side; beyond the grid, or not a number at all,
// the edge cell (a double of any size never reaches the conversion to int).
int SpatialIndex::cell(double at, double origin, int count) const
{
    const double c = std::floor((at - origin) / cell_);
    if (!(c > 0))
        return 0;
    return c < count - 1 ? int(c) : count - 1;
}

int SpatialIndex::cellX(double x) const
{
    return cell(x, ox_, nx_);
}

int SpatialIndex::cellY(double y) const
{
    return cell(y, oy_, ny_);
}

bool SpatialIndex::holds(const Entity* e) const
{
    return e->indexSlot_ < items_.size() && items_[e->indexSlot_] == e;
}

void SpatialIndex::retire(Entity* e)
{
    if (holds(e))
        boxes_[e->indexSlot_] = Box{};
}

void SpatialIndex::markDirty(Entity* e)
{
    if (built_)
        dirty_.insert(e);
}

void SpatialIndex::remove(Entity* e)
{
    if (!built_)
        return;
    dirty_.erase(e);
    retire(e);
}

void SpatialIndex::build(Block& space)
{
    items_ = space.entities();
    boxes_.resize(items_.size());
    dirty_.clear();
    loose_.clear();
    Box ext;
    // The entities lie scattered over the heap: asking for the ones a few
    // places ahead early lets their memory be fetched side by side.
    constexpr size_t Ahead = 16;
    for (size_t i = 0; i < items_.size(); ++i) {
#if defined(__GNUC__) || defined(__clang__)
        if (i + Ahead < items_.size())
            __builtin_prefetch(items_[i + Ahead]);
#endif
        items_[i]->indexSlot_ = uint32_t(i);
        boxes_[i] = items_[i]->box();
        ext.add(boxes_[i]);
    }
    if (!ext.finite()) // boxes at both ends of the numbers: no grid, each met one by one
        ext = Box{};
    const double n = std::max<double>(1, double(items_.size()));
    const double span = ext.valid() ? std::max(ext.maxX - ext.minX, ext.maxY - ext.minY) : 1;
    cell_ = span > 0 ? span / std::max(1.0, std::sqrt(n / 2)) : 1;
    ox_ = ext.valid() ? ext.minX : 0;
    oy_ = ext.valid() ? ext.minY : 0;
    const auto side = [&](double length) {
        return int(std::clamp(std::floor(length / cell_) + 1, 1.0, double(kMaxCellsPerSide)));
    };
    nx_ = ext.valid() ? side(ext.maxX - ext.minX) : 1;
    ny_ = ext.valid() ? side(ext.maxY - ext.minY) : 1;
    if (ext.valid()) // a grid capped at its side holds the far end too
        cell_ = std::max({cell_, (ext.maxX - ext.minX) / nx_, (ext.maxY - ext.minY) / ny_}) * (1 + 1e-12);

    // Counting sort of the slots into their cells: first the counts, then the places.
    cellStart_.assign(size_t(nx_) * ny_ + 1, 0);
    std::vector<uint8_t> gridded(items_.size(), 0);
    for (size_t i = 0; i < items_.size(); ++i) {
        const Box& b = boxes_[i];
        if (!b.valid())
            continue;
        if (!b.finite() || !ext.valid()) { // an overflowing box is met one by one
            loose_.push_back(uint32_t(i));
            continue;
        }
        const int x0 = cellX(b.minX), x1 = cellX(b.maxX), y0 = cellY(b.minY), y1 = cellY(b.maxY);
        if (1LL * (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerEntity) {
            loose_.push_back(uint32_t(i));
            continue;
        }
        gridded[i] = 1;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                ++cellStart_[size_t(y) * nx_ + x + 1];
    }
    for (size_t c = 1; c < cellStart_.size(); ++c)
        cellStart_[c] += cellStart_[c - 1];
    cellSlots_.resize(cellStart_.back());
    std::vector<uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!gridded[i])
            continue;
        const Box& b = boxes_[i];
        const int x0 = cellX(b.minX), x1 = cellX(b.maxX), y0 = cellY(b.minY), y1 = cellY(b.maxY);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                cellSlots_[fill[size_t(y) * nx_ + x]++] = uint32_t(i);
    }
    looseAtBuild_ = loose_.size();
    built_ = true;
}

// Changed entities leave their old slot and come back as loose ones.
void SpatialIndex::refresh()
{
    for (Entity* e : dirty_) {
        retire(e);
        if (e->isErased())
            continue;
        e->indexSlot_ = uint32_t(items_.size());
        items_.push_back(e);
        boxes_.push_back(e->box());
        loose_.push_back(e->indexSlot_);
    }
    dirty_.clear();
}

std::vector<Entity*> SpatialIndex::query(const Box& area, Block& space)
{
    // rebuilt once the changes since the build outweigh the grid; what the grid cannot hold does not count
    if (!built_ || dirty_.size() + loose_.size() - looseAtBuild_ > items_.size() / 4 + 64)
        build(space);
    refresh();
    std::vector<Entity*> out;
    if (!area.valid())
        return out;
    const int x0 = cellX(area.minX), x1 = cellX(area.maxX), y0 = cellY(area.minY), y1 = cellY(area.maxY);
    const bool outside = area.maxX < ox_ || area.maxY < oy_ || area.minX > ox_ + cell_ * nx_
        || area.minY > oy_ + cell_ * ny_;
    if (!outside) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                for (uint32_t c = cellStart_[size_t(y) * nx_ + x]; c < cellStart_[size_t(y) * nx_ + x + 1]; ++c) {
                    const uint32_t s = cellSlots_[c];
                    const Box& b = boxes_[s];
                    // each slot once: from the first of its cells the window visits
                    if (b.intersects(area) && x == std::max(cellX(b.minX), x0) && y == std::max(cellY(b.minY), y0))
                        out.push_back(items_[s]);
                }
    }
    for (uint32_t s : loose_)
        if (boxes_[s].intersects(area))
            out.push_back(items_[s]);
    return out;
}

} // namespace kelvor::cad
