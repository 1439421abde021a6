#pragma once
#include "cad/model/geometry.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace kelvor::cad {

class Block;
class Entity;

// A uniform grid of entity bounding boxes over model space in flat arrays,
// built at the first geometric selection. Entities changed since are looked
// at one by one until there are too many of them, then the grid is built
// again; a small window visits a few cells instead of every entity.
class SpatialIndex {
public:
    void markDirty(Entity* e);
    void remove(Entity* e);
    // Entities whose box meets area, each once, in no particular order.
    std::vector<Entity*> query(const Box& area, Block& space);

private:
    void build(Block& space);
    void refresh();
    bool holds(const Entity* e) const;
    void retire(Entity* e); // its slot no longer answers
    int cell(double at, double origin, int count) const;
    int cellX(double x) const;
    int cellY(double y) const;

    bool built_ = false;
    double cell_ = 1, ox_ = 0, oy_ = 0;
    int nx_ = 0, ny_ = 0;
    std::vector<Entity*> items_;     // by slot
    std::vector<Box> boxes_;         // by slot; an empty box for a retired slot
    std::vector<uint32_t> cellStart_; // per cell (row by row), where its slots start in cellSlots_
    std::vector<uint32_t> cellSlots_;
    std::vector<uint32_t> loose_;    // slots of boxes too big for the grid and of entities changed since the build
    size_t looseAtBuild_ = 0;        // of them, those the grid could not hold
    std::unordered_set<Entity*> dirty_;
};

} // namespace kelvor::cad
