#pragma once
#include "cad/model/document.h"

#include <QImage>
#include <QPointF>
#include <QRgb>
#include <QString>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class QPainter;

namespace kelvor {

// The colour of an AutoCAD colour index on the host's black background.
QRgb aciColour(int aci);

// Drawing coordinates onto a widget: the drawing point at the widget's
// centre and the pixels per drawing unit. Drawing y points up, widget y down.
struct ViewTransform {
    double cx = 210, cy = 148.5, scale = 1;
    int width = 1, height = 1;

    QPointF toScreen(double x, double y) const
    {
        return {(x - cx) * scale + width / 2.0, height / 2.0 - (y - cy) * scale};
    }
    cad::Point toDrawing(const QPointF& p) const
    {
        return {(p.x() - width / 2.0) / scale + cx, (height / 2.0 - p.y()) / scale + cy, 0};
    }
    cad::Box visible() const;
    // The whole box in view, as large as it fits margin pixels inside the
    // edges; a box without size keeps the scale and centres on it.
    void fit(const cad::Box& box, int margin = 0);
    bool operator==(const ViewTransform&) const = default;
};

// What the host window draws of a document: every shown entity of model
// space flattened once into drawing-unit strokes, fills, dots and text runs
// (block references with their contents, resolved colours), kept in a grid
// so that painting and picking visit only what is near. Changed entities are
// rebuilt one by one; layer and block changes rebuild everything.
class DrawingScene {
public:
    DrawingScene();
    ~DrawingScene();
    DrawingScene(const DrawingScene&) = delete;
    DrawingScene& operator=(const DrawingScene&) = delete;

    // Shows the block (model space when null) of the document.
    void setDocument(cad::Document* doc, cad::Block* space = nullptr);
    // On paper: what is white on the black screen prints black.
    void setPaper(bool on) { paper_ = on; }
    cad::Document* document() const { return doc_; }
    void invalidate() { stale_ = true; }
    void entityChanged(cad::Entity* e, bool gone);

    struct Stats {
        int items = 0, drawn = 0, dots = 0, texts = 0, segments = 0;
    };
    void render(QPainter& painter, const ViewTransform& view,
                const std::unordered_set<const cad::Entity*>& highlighted = {});
    const Stats& lastStats() const { return stats_; }

    // The shown entity nearest the point within tolerance (drawing units);
    // null when none. A text is hit anywhere in its box.
    cad::Entity* pick(const cad::Point& at, double tolerance);
    // Window: shown entities wholly inside the box; crossing: inside or
    // meeting its edge. In creation order.
    std::vector<cad::Entity*> select(const cad::Box& box, bool crossing);
    // Object snaps within tolerance of the point.
    bool snapEndpoint(const cad::Point& at, double tolerance, cad::Point& found);
    bool snapNearest(const cad::Point& at, double tolerance, cad::Point& found);
    // Extents of what is shown; invalid for an empty drawing.
    cad::Box extents();
    int itemCount();

    struct Prim {
        enum Kind : quint8 { Path, WidePath, Fill, Dot, Text, Mark, Image };
        Kind kind = Path;
        bool closed = false;
        QRgb colour = 0;
        quint32 first = 0, count = 0; // points of the item
        double width = 0;             // wide path, drawing units; a point's angle (mark)
        int text = -1;                // text run of the item; image run (image)
        int pattern = -1;             // linetype pattern of a path (item's patterns)
    };
    // A line of text: its box, width w and height h in its own units, mapped
    // to drawing units by m (x = m0 u + m1 v + m4, y = m2 u + m3 v + m5).
    struct TextRun {
        QString text;
        double m[6] = {1, 0, 0, 1, 0, 0};
        double w = 0, h = 0;
        mutable double advance100 = -1; // the font's advance at 100 px, measured once
        mutable bool wide = false;      // holds ideographs
    };
    // A raster image: its picture, its pixel (column, row from the top)
    // to drawing map as a text run's m, and its clip outline (drawing units).
    struct ImageRun {
        QImage image;
        double m[6] = {1, 0, 0, 1, 0, 0};
        std::vector<cad::Pt2> clip;
    };
    // A complex linetype's text, standing at the end of its pattern element:
    // offsets along and across the path, height (drawing units) and angle
    // (radians; to the path unless absolute).
    struct DashText {
        size_t element = 0;
        QString text;
        double height = 0, rotation = 0, dx = 0, dy = 0;
        bool absolute = false;
    };
    struct Item {
        cad::Entity* entity = nullptr;
        cad::Box box;
        std::vector<cad::Pt2> pts;
        std::vector<Prim> prims;
        std::vector<TextRun> texts;
        // Few entities carry dashes or pictures: kept apart so that every
        // item of a big drawing stays small to make and to walk.
        struct Rare {
            std::vector<std::vector<double>> patterns; // dash lengths in drawing units (gaps negative)
            std::vector<std::vector<DashText>> patternTexts; // beside patterns, one list each
            std::vector<ImageRun> images;
        };
        std::unique_ptr<Rare> rare;
        Rare& rareParts()
        {
            if (!rare)
                rare = std::make_unique<Rare>();
            return *rare;
        }
        bool live = false;
        bool big = false;
        bool lit = false; // highlighted by a command: read here, as painting must not visit every entity
        bool markFirst = false; // its first part is a point style
        QRgb firstColour = 0;   // of its first part: the dot it shows as when tiny
        int cx0 = 0, cy0 = 0, cx1 = -1, cy1 = -1; // grid cells it is filed in
    };

private:
    void ensure();
    void rebuild();
    static void settle(Item& item);
    void file(int index);
    void unfile(int index);
    std::vector<int> near(const cad::Box& area, bool sorted);
    int cellX(double x) const;
    int cellY(double y) const;

    cad::Block& space() const;
    cad::Document* doc_ = nullptr;
    cad::Block* space_ = nullptr;
    bool paper_ = false;
    bool stale_ = true;
    quint64 layerPrint_ = 0;
    std::vector<Item> items_;
    std::unordered_map<const cad::Entity*, int> slot_;
    std::unordered_set<cad::Entity*> dirty_;
    // grid
    double ox_ = 0, oy_ = 0, cell_ = 1;
    int nx_ = 1, ny_ = 1;
    std::vector<std::vector<int>> cells_;
    std::vector<int> bigItems_;
    std::vector<quint32> stamp_;
    quint32 stampNow_ = 0;
    Stats stats_;
};

} // namespace kelvor
