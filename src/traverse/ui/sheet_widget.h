#pragma once
#include <QLabel>
#include <QList>
#include <QRect>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvor {
class CommandRegistry;
class Context;
} // namespace kelvor

namespace kelvor::traverse {

class TraverseSheet;

// Label4(0): keeps its one caption, but draws each column's words over the
// known-point box below them, so the headers follow the columns however
// wide the window is.
class KnownHeader : public QLabel {
public:
    KnownHeader(const QString& caption, QWidget* parent);
    // The boxes under the eight words, in the caption's order.
    void setColumns(const QList<QWidget*>& boxes) { boxes_ = boxes; }
    struct Place {
        QString word;
        QRect rect; // in this label's coordinates
    };
    QList<Place> places() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QWidget*> boxes_;
};

// The width a line edit needs to show sample whole in its font.
int widthShowing(const QLineEdit* edit, const QString& sample);

// Frame1(0) of the main window: the traverse sheet with its row labels,
// column headers, grade and contour boxes and buttons. It edits the
// TraverseSheet model and follows it when commands change it. Every control
// carries its control name as objectName ("Text5(12)", "Combo1",
// "Command37"). Buttons run their commands through the registry by name,
// so commands of other subsystems need not be linked in here.
class SheetWidget : public QWidget {
    Q_OBJECT
public:
    SheetWidget(TraverseSheet& sheet, Context& ctx, CommandRegistry* registry, QWidget* parent = nullptr);

    QLineEdit* text1(int i) const { return text1_.at(size_t(i)); }
    QLineEdit* text5(int k) const { return text5_.at(size_t(k)); }
    QLineEdit* text21(int h) const { return text21_.at(size_t(h)); }
    QLabel* label5(int k) const { return label5_.at(size_t(k)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void refresh();
    void runItem(const QString& item);
    bool keyInKnown(int i, QKeyEvent* e);
    bool keyInCell(int k, QKeyEvent* e);
    void applyFocus(int box, int index, int caret);

    TraverseSheet& sheet_;
    Context& ctx_;
    CommandRegistry* registry_;
    std::array<QLineEdit*, 14> text1_{};
    std::array<QLineEdit*, 110> text5_{};
    std::array<QLineEdit*, 9> text21_{};
    std::array<QLabel*, 13> label5_{};
    QLabel* label39_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QPushButton* command9_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QLineEdit* text20_ = nullptr;
    bool refreshing_ = false;
};

} // namespace kelvor::traverse
