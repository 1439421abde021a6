#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace kelvor {
class AnswerQueue;
}

namespace kelvor::cad {

class Document;
class Entity;

// One answer from the person at the command line.
struct Input {
    enum Kind { Value, Enter, Esc, EmptyPick };
    Kind kind = Esc;
    QString text;       // string, keyword, number text
    Point point;        // point, or the pick point of an entity
    QString handle;     // entity
    QStringList handles; // on-screen selection
    double aperture = 0; // a window's pick: its snap reach in drawing units (0: the host's own)
};

// Where command-line answers come from: the scripted queue in tests and
// scenarios, the host window later. `asking` is "point", "entity",
// "string", "real", "integer", "keyword" or "select".
class InputSource {
public:
    virtual ~InputSource() = default;
    virtual Input next(const QString& asking, const QString& prompt) = 0;
};

// Answers from the shared AnswerQueue: kinds "point", "entity" (handle and
// pick point; an empty handle is a pick on empty space), "string", "real",
// "integer", "keyword", "select" (handles), "enter" and "esc".
class ScriptedInput : public InputSource {
public:
    explicit ScriptedInput(AnswerQueue& queue)
        : queue_(queue)
    {
    }
    Input next(const QString& asking, const QString& prompt) override;

private:
    AnswerQueue& queue_;
};

// A number typed at a point or number question: the whole text, and a
// value a drawing can hold; "nan", "inf" and overflow ("1e400") are no number.
std::optional<double> numberOf(const QString& text);
// "x,y" or "x,y,z" of such numbers; null for anything else.
std::optional<Point> pointOf(const QString& text);
bool isFinite(const Point& p);

// The keyword an answer names, without regard to case: the whole keyword,
// else the one keyword whose capital letters it is, else the one keyword it
// starts; "" when none fits or it fits two alike (it is asked again).
QString matchKeyword(const QString& answer, const QStringList& keywords);

// The command-line utility of a document. A failing call raises RunError:
// Esc and an empty pick fail::Cancelled; Enter fail::NullInput for points,
// entities and numbers (so a caller that ignores errors keeps its default),
// "" for strings and keywords.
class Utility {
public:
    explicit Utility(Document* doc)
        : doc_(doc)
    {
    }
    // Appended verbatim to the command-line transcript.
    void Prompt(const QString& text);
    Point GetPoint(const QString& prompt = QString());
    Entity* GetEntity(Point& pickPoint, const QString& prompt = QString());
    QString GetString(bool allowBlanks, const QString& prompt = QString());
    double GetReal(const QString& prompt = QString());
    int GetInteger(const QString& prompt = QString());
    QString GetKeyword(const QString& prompt = QString());
    // bits: 1 refuses Enter, 2 refuses 0, 4 refuses negatives; keywords
    // separated by blanks. Holds for the next question only.
    void InitializeUserInput(int bits, const QString& keywords = QString());
    // After a fail::Keyword failure: the keyword given.
    QString GetInput() const { return lastKeyword_; }
    double AngleFromXAxis(const Point& from, const Point& to) const;
    Point PolarPoint(const Point& p, double angle, double distance) const;

private:
    Input ask(const QString& asking, const QString& prompt);
    QString matchKeyword(const QString& answer) const { return cad::matchKeyword(answer, active_); }
    // Takes the bits and keywords set for this question; returns the bits.
    int beginQuestion();
    [[noreturn]] void keywordGiven(const QString& keyword);
    // Enter and keywords answering a point or number: false asks again.
    bool settled(const Input& in, int bits);
    template <typename T, typename Read>
    T askNumber(const QString& asking, const QString& prompt, Read read);
    Document* doc_;
    int bits_ = 0;
    QStringList keywords_; // set for the next question
    QStringList active_;   // of the question being asked
    QString lastKeyword_;
};

} // namespace kelvor::cad
