#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace kelvor::cad {

class Document;
class Entity;

// AutoCAD's wildcard match, without regard to case: a comma separates
// alternatives; '#' a digit, '@' a letter, '.' a character that is neither,
// '*' any run, '?' any one character, '~' at the start of an alternative
// negates it, "[...]" one of the characters (ranges with '-', "[~...]" none
// of them), '`' takes the next character literally.
bool wildcardMatch(const QString& text, const QString& pattern);

// A selection filter: (group code, value) pairs, all of which must hold.
// Codes: 0 type, 2 block name (block references only), 6 the entity's own
// linetype, 7 text style, 8 layer, 62 colour number, 1001 an application of
// the extended data. Texts match by wildcardMatch.
struct SelectionFilter {
    std::vector<int> types;
    std::vector<QVariant> values;
    bool empty() const { return types.empty(); }
    SelectionFilter& add(int code, const QVariant& value)
    {
        types.push_back(code);
        values.push_back(value);
        return *this;
    }
};
bool filterMatches(const Entity& e, const SelectionFilter& filter);

// Selection modes of Select and SelectByPolygon, numbered as the automation
// interface numbers them.
enum SelectMode {
    SelectWindow = 0, SelectCrossing = 1, SelectFence = 2, SelectPrevious = 3, SelectLast = 4, SelectAll = 5,
    SelectWindowPolygon = 6, SelectCrossingPolygon = 7
};

// A named selection set. All and geometric selections add in creation
// order, on-screen selections in pick order; an entity is held once.
class SelectionSet {
public:
    QString Name() const { return name_; }
    int Count() const;
    Entity* Item(int index) const; // fails NotFound
    std::vector<Entity*> entities() const;
    void Clear();
    void Delete(); // removes the set from the document; the object dies
    void AddItems(const std::vector<Entity*>& entities);
    void RemoveItems(const std::vector<Entity*>& entities);
    void Erase(); // deletes every member from the drawing
    void Highlight(bool on);

    // Window and crossing take two corners; all ignores them.
    void Select(int mode, const Point& corner1 = {}, const Point& corner2 = {},
                const SelectionFilter& filter = {});
    // Flat x, y, z list; the polygon closes from the last point to the first.
    void SelectByPolygon(int mode, const std::vector<double>& points, const SelectionFilter& filter = {});
    // The person picks entities (input source "select"); Esc leaves it empty.
    void SelectOnScreen(const SelectionFilter& filter = {});

    explicit SelectionSet(Document* doc, const QString& name)
        : doc_(doc)
        , name_(name)
    {
    }

private:
    void take(const std::vector<Entity*>& found);
    Document* doc_;
    QString name_;
    std::vector<quint64> members_;
};

} // namespace kelvor::cad
