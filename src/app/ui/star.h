#pragma once
#include <QDate>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace kelvor::app {

// The splash: the AutoCAD versions served and today's date with its
// shadow, on a picture of 400 x 200 pixels. Timer2 closes it 2000 ms after
// it is shown and hands over to the main window.
class Star : public QWidget {
    Q_OBJECT
public:
    explicit Star(const QDate& today, QWidget* parent = nullptr);

    QTimer& timer2() { return timer2_; }
    QLabel* label(int n) const; // Label1..Label3

signals:
    // Timer2 ticked: the splash is closed; show the main window.
    void finished();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QTimer timer2_;
};

} // namespace kelvor::app
