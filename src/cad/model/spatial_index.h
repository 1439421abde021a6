#pragma once
#include "cad/model/geometry.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kelvor::cad {

class Block;
class Entity;

// A uniform grid of entity bounding boxes over model space, built at the
// first geometric selection and kept up to date from the entities changed
// since; a small window visits a few cells instead of every entity.
class SpatialIndex {
public:
    void markDirty(Entity* e);
    void remove(Entity* e);
    // Entities whose box meets area, each once, in no particular order.
    std::vector<Entity*> query(const Box& area, Block& space);

private:
    struct Slot {
        Box box;
        bool big = false;
    };
    void build(Block& space);
    void insert(Entity* e);
    void erase(Entity* e);
    long long key(long long ix, long long iy) const { return (ix << 32) ^ (iy & 0xffffffffLL); }
    long long cellX(double x) const;
    long long cellY(double y) const;

    bool built_ = false;
    double cell_ = 1, ox_ = 0, oy_ = 0;
    std::unordered_map<long long, std::vector<Entity*>> cells_;
    std::unordered_map<Entity*, Slot> where_;
    std::unordered_set<Entity*> big_;
    std::unordered_set<Entity*> dirty_;
};

} // namespace kelvor::cad
