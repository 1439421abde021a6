#include "cad/model/spatial_index.h"

#include "cad/model/document.h"

#include <cmath>

namespace kelvor::cad {

namespace {
constexpr long long kMaxCellsPerEntity = 256;
}

long long SpatialIndex::cellX(double x) const
{
    return (long long)std::floor((x - ox_) / cell_);
}

long long SpatialIndex::cellY(double y) const
{
    return (long long)std::floor((y - oy_) / cell_);
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
    erase(e);
}

void SpatialIndex::erase(Entity* e)
{
    auto it = where_.find(e);
    if (it == where_.end())
        return;
    const Slot s = it->second;
    where_.erase(it);
    if (s.big) {
        big_.erase(e);
        return;
    }
    if (!s.box.valid())
        return;
    for (long long ix = cellX(s.box.minX); ix <= cellX(s.box.maxX); ++ix)
        for (long long iy = cellY(s.box.minY); iy <= cellY(s.box.maxY); ++iy) {
            auto c = cells_.find(key(ix, iy));
            if (c != cells_.end())
                std::erase(c->second, e);
        }
}

void SpatialIndex::insert(Entity* e)
{
    Slot s;
    s.box = e->box();
    if (s.box.valid()) {
        const long long nx = cellX(s.box.maxX) - cellX(s.box.minX) + 1;
        const long long ny = cellY(s.box.maxY) - cellY(s.box.minY) + 1;
        s.big = nx * ny > kMaxCellsPerEntity || nx <= 0 || ny <= 0;
    }
    where_[e] = s;
    if (s.big) {
        big_.insert(e);
        return;
    }
    if (!s.box.valid())
        return;
    for (long long ix = cellX(s.box.minX); ix <= cellX(s.box.maxX); ++ix)
        for (long long iy = cellY(s.box.minY); iy <= cellY(s.box.maxY); ++iy)
            cells_[key(ix, iy)].push_back(e);
}

void SpatialIndex::build(Block& space)
{
    cells_.clear();
    where_.clear();
    big_.clear();
    dirty_.clear();
    const std::vector<Entity*> all = space.entities();
    std::vector<Box> boxes;
    boxes.reserve(all.size());
    Box ext;
    for (Entity* e : all) {
        boxes.push_back(e->box());
        ext.add(boxes.back());
    }
    const double n = std::max<double>(1, all.size());
    const double span = ext.valid() ? std::max(ext.maxX - ext.minX, ext.maxY - ext.minY) : 1;
    cell_ = span > 0 ? span / std::max(1.0, std::sqrt(n / 2)) : 1;
    ox_ = ext.valid() ? ext.minX : 0;
    oy_ = ext.valid() ? ext.minY : 0;
    built_ = true;
    for (size_t i = 0; i < all.size(); ++i) {
        Entity* e = all[i];
        Slot s;
        s.box = boxes[i];
        if (s.box.valid()) {
            const long long nx = cellX(s.box.maxX) - cellX(s.box.minX) + 1;
            const long long ny = cellY(s.box.maxY) - cellY(s.box.minY) + 1;
            s.big = nx * ny > kMaxCellsPerEntity;
        }
        where_[e] = s;
        if (s.big) {
            big_.insert(e);
            continue;
        }
        if (!s.box.valid())
            continue;
        for (long long ix = cellX(s.box.minX); ix <= cellX(s.box.maxX); ++ix)
            for (long long iy = cellY(s.box.minY); iy <= cellY(s.box.maxY); ++iy)
                cells_[key(ix, iy)].push_back(e);
    }
}

std::vector<Entity*> SpatialIndex::query(const Box& area, Block& space)
{
    if (!built_ || dirty_.size() > where_.size() / 4 + 64)
        build(space);
    for (Entity* e : dirty_) {
        erase(e);
        if (!e->isErased())
            insert(e);
    }
    dirty_.clear();
    std::vector<Entity*> out;
    if (!area.valid())
        return out;
    const double cellsX = (area.maxX - area.minX) / cell_ + 1;
    const double cellsY = (area.maxY - area.minY) / cell_ + 1;
    if (cellsX * cellsY > double(cells_.size()) * 2 + 16) {
        // a window larger than the grid: every entity is a candidate
        for (auto& [e, s] : where_)
            if (s.big || s.box.intersects(area))
                out.push_back(e);
        return out;
    }
    std::unordered_set<Entity*> seen;
    for (long long ix = cellX(area.minX); ix <= cellX(area.maxX); ++ix)
        for (long long iy = cellY(area.minY); iy <= cellY(area.maxY); ++iy) {
            auto c = cells_.find(key(ix, iy));
            if (c == cells_.end())
                continue;
            for (Entity* e : c->second)
                if (where_[e].box.intersects(area) && seen.insert(e).second)
                    out.push_back(e);
        }
    for (Entity* e : big_)
        if (where_[e].box.intersects(area))
            out.push_back(e);
    return out;
}

} // namespace kelvor::cad
